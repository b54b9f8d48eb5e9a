#include "tests/support/ScriptedDialogs.h"

namespace testsupport {

ScriptedDialogs::ScriptedDialogs() {
    platform::SetAppDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    platform::SetAppDialogs(nullptr);
}

QStringList ScriptedDialogs::AlertTexts() const {
    QStringList texts;
    for (const Alert& alert : alerts) {
        texts << alert.text;
    }
    return texts;
}

QStringList ScriptedDialogs::AlertDetails() const {
    QStringList details;
    for (const Alert& alert : alerts) {
        details << alert.detailedText;
    }
    return details;
}

int ScriptedDialogs::RunAlert(const Alert& alert) {
    alerts.push_back(alert);
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
                                                     const QString& extension, const QString& filterName) {
    savePanels.push_back({directory, proposedName, extension, filterName});
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
