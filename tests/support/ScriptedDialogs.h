#pragma once

#include "platform/ui/Dialogs.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace testsupport {

// Dialogs that answer as the test says and record every call, installed for the process while alive.
class ScriptedDialogs : public platform::Dialogs {
  public:
    using Alert = platform::AlertPanel;
    struct SavePanel {
        QString directory;
        QString proposedName;
        QString extension;
        QString filterName;
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // Answers, used in order; when none is left an alert answers 1 (accept button) and a save panel
    // is cancelled.
    void AnswerAlert(int answer) { alertAnswers_.push_back(answer); }
    void AnswerSavePanel(std::optional<QString> path) { saveAnswers_.push_back(std::move(path)); }
    void AnswerOpenPanel(std::optional<QString> path) { openAnswers_.push_back(std::move(path)); }

    // Called at the moment an alert shows, e.g. to look at what else is on screen then.
    std::function<void(const Alert&)> onAlert;

    std::vector<Alert> alerts;
    std::vector<SavePanel> savePanels;
    std::vector<platform::AboutPanel> aboutPanels;

    // The statements of the alerts shown, and their detailed texts, in order.
    QStringList AlertTexts() const;
    QStringList AlertDetails() const;

    int RunAlert(const Alert& alert) override;
    std::optional<QString> RunSavePanel(const QString& directory, const QString& proposedName,
                                        const QString& extension, const QString& filterName) override;
    std::optional<QString> RunOpenPanel(const QString& /*directory*/,
                                        const QString& /*filterName*/) override {
        std::optional<QString> answer;
        if (!openAnswers_.empty()) {
            answer = openAnswers_.front();
            openAnswers_.pop_front();
        }
        return answer;
    }
    void ShowAboutPanel(const platform::AboutPanel& about) override { aboutPanels.push_back(about); }

  private:
    std::deque<int> alertAnswers_;
    std::deque<std::optional<QString>> saveAnswers_;
    std::deque<std::optional<QString>> openAnswers_;
};

} // namespace testsupport
