#include "CliRunner.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace cli::test {

CliRunner::CliRunner() {
    EXPECT_TRUE(dir_.isValid());
}

void CliRunner::WriteState(const QByteArray& scenario) const {
    QFile file(StatePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(scenario), scenario.size());
}

CliRun CliRunner::Run(const QStringList& arguments) const {
    return Start(arguments, std::nullopt);
}

CliRun CliRunner::RunWithFileSizeLimit(const QStringList& arguments, std::uint64_t fileSizeLimit) const {
    return Start(arguments, fileSizeLimit);
}

CliRun CliRunner::Start(const QStringList& arguments, std::optional<std::uint64_t> fileSizeLimit) const {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LM360R_USB"), QStringLiteral("simulated"));
    environment.insert(QStringLiteral("LM360R_SIM_STATE"), StatePath());
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(dir_.path());
    if (fileSizeLimit) {
        const rlim_t limit = *fileSizeLimit;
        process.setChildProcessModifier([limit] {
            const rlimit fsize{limit, limit};
            setrlimit(RLIMIT_FSIZE, &fsize);
        });
    }
    process.start(QStringLiteral(LM360RCTL_PATH), arguments);
    CliRun run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "lm360rctl " << arguments.join(' ').toStdString() << " did not finish";
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

std::vector<std::uint8_t> ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}

void WriteBytes(const QString& path, const std::vector<std::uint8_t>& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())),
              static_cast<qint64>(bytes.size()));
}

} // namespace cli::test
