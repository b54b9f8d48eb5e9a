#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace testsupport {

// A cupsd of the test's own: configuration, spool, cache, logs and queues in a temporary folder,
// listening only on a socket there, never touching the system's CUPS. CUPS_SERVER points this
// process and its children at it while it lives. It is stopped and its folder removed on
// destruction; should the test process die first, the kernel kills it (parent-death signal) and
// the next server removes the folder left behind.
class PrivateCupsServer {
  public:
    // Where cupsd is installed, if it is.
    static std::optional<QString> CupsdProgram();

    // Starts the server and waits, bounded, until it answers; Error() says why when it did not.
    PrivateCupsServer();
    ~PrivateCupsServer();
    PrivateCupsServer(const PrivateCupsServer&) = delete;
    PrivateCupsServer& operator=(const PrivateCupsServer&) = delete;

    bool Running() const { return error_.isEmpty(); }
    const QString& Error() const { return error_; }

    // Adds an enabled raw queue whose make-and-model is `makeAndModel`. Returns false and sets
    // Error() on failure.
    bool AddQueue(const QString& name, const QString& makeAndModel);

  private:
    bool WriteConfiguration();
    bool WaitUntilAnswering();
    // Runs a CUPS client program against this server; returns its exit code, -1 when it failed
    // to run or to end in time. `output` receives stdout and stderr.
    int RunClient(const QString& program, const QStringList& arguments, QString* output);
    void Stop();

    QTemporaryDir folder_;
    int ownerLock_ = -1;
    QProcess cupsd_;
    QString error_;
    std::optional<QByteArray> previousCupsServer_;
};

// A test suite whose tests share one private cupsd with the given queues (name, make-and-model),
// started before the first test and stopped after the last. The tests skip when cupsd is not
// installed and fail when it did not start.
class PrivateCupsSuite : public testing::Test {
  public:
    using Queues = std::vector<std::pair<QString, QString>>;

  protected:
    static void StartServer(const Queues& queues);
    static void StopServer() { server_.reset(); }
    void SetUp() override;

  private:
    static std::unique_ptr<PrivateCupsServer> server_;
};

} // namespace testsupport
