#pragma once

#include <QJsonObject>
#include <QString>

namespace cli {

// While one lives, PrintLine, PrintJson and PrintError hand what they would print to it instead, so
// that a command written for one printer can run for each of several and have its output marked
// with the printer it came from. One at a time; the latest wins until it goes.
class OutputRedirect {
  public:
    OutputRedirect();
    virtual ~OutputRedirect();
    OutputRedirect(const OutputRedirect&) = delete;
    OutputRedirect& operator=(const OutputRedirect&) = delete;

    virtual void Line(const QString& line) = 0;
    virtual void Json(const QJsonObject& document) = 0;
    virtual void Error(const QString& message) = 0;

    // The redirect in force, or null.
    static OutputRedirect* Active();

  protected:
    // Print past this redirect, as if it were not there.
    void PassLine(const QString& line);
    void PassJson(const QJsonObject& document);
    void PassError(const QString& message);

  private:
    OutputRedirect* previous_;
};

} // namespace cli
