#include "cli/OutputRedirect.h"

#include "cli/Output.h"

namespace cli {
namespace {

OutputRedirect* active = nullptr; // lm360rctl prints from one thread

} // namespace

OutputRedirect::OutputRedirect() : previous_(active) {
    active = this;
}

OutputRedirect::~OutputRedirect() {
    active = previous_;
}

OutputRedirect* OutputRedirect::Active() {
    return active;
}

void OutputRedirect::PassLine(const QString& line) {
    active = previous_;
    PrintLine(line);
    active = this;
}

void OutputRedirect::PassJson(const QJsonObject& document) {
    active = previous_;
    PrintJson(document);
    active = this;
}

void OutputRedirect::PassError(const QString& message) {
    active = previous_;
    PrintError(message);
    active = this;
}

} // namespace cli
