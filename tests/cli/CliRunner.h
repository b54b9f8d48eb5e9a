#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
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
    // With the file size limited to `fileSizeLimit` bytes, as on a full disk.
    CliRun RunWithFileSizeLimit(const QStringList& arguments, std::uint64_t fileSizeLimit) const;

    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString StatePath() const { return Path(QStringLiteral("printers.state")); }
    void WriteState(const QByteArray& scenario) const;

  private:
    CliRun Start(const QStringList& arguments, std::optional<std::uint64_t> fileSizeLimit) const;
    QTemporaryDir dir_;
};

std::vector<std::uint8_t> ReadBytes(const QString& path);
void WriteBytes(const QString& path, const std::vector<std::uint8_t>& bytes);

} // namespace cli::test
