#include "CliRunner.h"

#include <QFile>
#include <QProcess>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

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
    return Start(arguments, {});
}

CliRun CliRunner::RunWithInput(const QStringList& arguments, const QByteArray& input) const {
    return Start(arguments, {}, input);
}

CliRun CliRunner::RunWithFileSizeLimit(const QStringList& arguments, std::uint64_t fileSizeLimit) const {
    const rlim_t limit = fileSizeLimit;
    return Start(arguments, [limit] {
        const rlimit fsize{limit, limit};
        setrlimit(RLIMIT_FSIZE, &fsize);
    });
}

CliRun CliRunner::RunOnTerminal(const QStringList& arguments, const QByteArray& typed) const {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        ADD_FAILURE() << "no pseudo-terminal";
        return {};
    }
    const std::string terminal = ptsname(master);
    // The pseudo-terminal keeps what is typed until the program reads it.
    EXPECT_EQ(write(master, typed.constData(), static_cast<std::size_t>(typed.size())), typed.size());
    CliRun run = Start(arguments, [&terminal] {
        const int fd = open(terminal.c_str(), O_RDWR);
        if (fd >= 0) {
            dup2(fd, STDIN_FILENO);
        }
    });
    close(master);
    return run;
}

CliRun CliRunner::Start(const QStringList& arguments, const std::function<void()>& inChild,
                        const QByteArray& input) const {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LM360R_USB"), QStringLiteral("simulated"));
    environment.insert(QStringLiteral("LM360R_SIM_STATE"), StatePath());
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(dir_.path());
    if (inChild) {
        process.setChildProcessModifier(inChild);
    }
    process.start(QStringLiteral(LM360RCTL_PATH), arguments);
    process.write(input);
    process.closeWriteChannel();
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
