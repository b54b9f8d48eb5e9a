#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace cli::test {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the real lm360rctl against the simulated printer, its state kept in a directory of its
// own. Every run is bounded in time; a hang fails the test instead of blocking it.
class CliRunner {
  public:
    CliRunner();

    CliRun Run(const QStringList& arguments) const;
    // With `input` on standard input.
    CliRun RunWithInput(const QStringList& arguments, const QByteArray& input) const;
    // With the file size limited to `fileSizeLimit` bytes, as on a full disk.
    CliRun RunWithFileSizeLimit(const QStringList& arguments, std::uint64_t fileSizeLimit) const;
    // With a terminal on stdin that has `typed` waiting to be read.
    CliRun RunOnTerminal(const QStringList& arguments, const QByteArray& typed) const;

    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString StatePath() const { return Path(QStringLiteral("printers.state")); }
    void WriteState(const QByteArray& scenario) const;

  private:
    CliRun Start(const QStringList& arguments, const std::function<void()>& inChild,
                 const QByteArray& input = {}) const;
    QTemporaryDir dir_;
};

std::vector<std::uint8_t> ReadBytes(const QString& path);
void WriteBytes(const QString& path, const std::vector<std::uint8_t>& bytes);

} // namespace cli::test
