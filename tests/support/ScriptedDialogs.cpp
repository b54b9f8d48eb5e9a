#include "tests/support/ScriptedDialogs.h"

namespace testsupport {

ScriptedDialogs::ScriptedDialogs() {
    platform::SetAppDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    platform::SetAppDialogs(nullptr);
}

QStringList ScriptedDialogs::AlertTitles() const {
    QStringList titles;
    for (const Alert& alert : alerts) {
        titles << alert.title;
    }
    return titles;
}

int ScriptedDialogs::RunAlertPanel(const QString& title, const QString& message, const QString& defaultButton,
                                   const QString& alternateButton) {
    alerts.push_back({title, message, defaultButton, alternateButton});
    if (onAlert) {
        onAlert(alerts.back());
    }
    if (alertAnswers_.empty()) {
        return 1;
    }
    const int answer = alertAnswers_.front();
    alertAnswers_.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::RunSavePanel(const QString& directory, const QString& proposedName,
                                                     const QString& extension) {
    savePanels.push_back({directory, proposedName, extension});
    if (saveAnswers_.empty()) {
        return std::nullopt;
    }
    const bool cancelled = !saveAnswers_.front().has_value();
    const QString path = saveAnswers_.front().value_or(QString());
    saveAnswers_.pop_front();
    if (cancelled) {
        return std::nullopt;
    }
    return path;
}

} // namespace testsupport
