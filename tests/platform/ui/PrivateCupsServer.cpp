#include "tests/platform/ui/PrivateCupsServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>
#include <QTextStream>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace testsupport {

namespace {

const QString kFolderPrefix = QStringLiteral("lm360r-cups-");
const QString kOwnerLock = QStringLiteral("owner.lock");

constexpr int kStartDeadlineMs = 15000;
constexpr int kClientDeadlineMs = 15000;
constexpr int kStopDeadlineMs = 5000;
constexpr int kPollMs = 25;
constexpr int kQueueAttempts = 5;
constexpr int kQueueRetryPauseMs = 100;

std::optional<QString> FindProgram(const QString& name) {
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty()) {
        // Administration programs live in sbin, which an ordinary user's PATH may lack.
        path = QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin", "/usr/local/sbin"});
    }
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

bool WriteFile(const QString& path, const QString& contents) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const QByteArray bytes = contents.toUtf8();
    return file.write(bytes) == bytes.size() && file.flush();
}

// A PPD for a raw queue: jobs pass through unfiltered, and CUPS reports `makeAndModel` as the
// queue's printer-make-and-model.
QString RawQueuePpd(const QString& makeAndModel) {
    const QString maker = makeAndModel.section(QLatin1Char(' '), 0, 0);
    return QStringLiteral(R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "RAWQUEUE.PPD"
*Manufacturer: "%1"
*Product: "(%2)"
*ModelName: "%2"
*ShortNickName: "%2"
*NickName: "%2"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsVersion: 2.4
*cupsFilter2: "application/octet-stream application/vnd.cups-raw 0 -"
*OpenUI *PageSize/Page Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: Label
*PageSize Label/Label: "<</PageSize[176 176]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: Label
*PageRegion Label/Label: "<</PageSize[176 176]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: Label
*ImageableArea Label/Label: "0 0 176 176"
*DefaultPaperDimension: Label
*PaperDimension Label/Label: "176 176"
)ppd")
        .arg(maker, makeAndModel);
}

// Holds an exclusive lock on the folder's owner file for as long as `fd` stays open; -1 when the
// lock is taken or the file cannot be opened.
int LockOwnerFile(const QString& folder, bool create) {
    const QByteArray path = QFile::encodeName(QDir(folder).filePath(kOwnerLock));
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0600);
    if (fd < 0) {
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Folders of servers whose test process died without cleaning up (a crash, SIGKILL): their
// owner lock is free. Folders of running servers, or ones still being set up, are left alone.
void RemoveAbandonedFolders() {
    QDir temp(QDir::tempPath());
    const QStringList folders =
        temp.entryList({kFolderPrefix + QStringLiteral("*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : folders) {
        const QString folder = temp.filePath(name);
        const int fd = LockOwnerFile(folder, false);
        if (fd >= 0) {
            QDir(folder).removeRecursively();
            ::close(fd);
        }
    }
}

} // namespace

std::optional<QString> PrivateCupsServer::CupsdProgram() {
    return FindProgram(QStringLiteral("cupsd"));
}

PrivateCupsServer::PrivateCupsServer()
    : folder_(QDir::tempPath() + QLatin1Char('/') + kFolderPrefix + "XXXXXX") {
    const std::optional<QString> cupsd = CupsdProgram();
    if (!cupsd) {
        error_ = QStringLiteral("cupsd is not installed");
        return;
    }
    if (!folder_.isValid()) {
        error_ = QStringLiteral("cannot create a temporary folder: ") + folder_.errorString();
        return;
    }
    ownerLock_ = LockOwnerFile(folder_.path(), true);
    if (ownerLock_ < 0) {
        error_ = QStringLiteral("cannot lock ") + folder_.path();
        return;
    }
    RemoveAbandonedFolders();
    if (!WriteConfiguration()) {
        error_ = QStringLiteral("cannot write the configuration in ") + folder_.path();
        return;
    }
    if (qEnvironmentVariableIsSet("CUPS_SERVER")) {
        previousCupsServer_ = qgetenv("CUPS_SERVER");
    }
    qputenv("CUPS_SERVER", folder_.filePath(QStringLiteral("cups.sock")).toLocal8Bit());

    cupsd_.setProgram(*cupsd);
    cupsd_.setArguments(
        {"-f", "-c", folder_.filePath("cupsd.conf"), "-s", folder_.filePath("cups-files.conf")});
    cupsd_.setProcessChannelMode(QProcess::ForwardedChannels);
    cupsd_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    cupsd_.start();
    if (!cupsd_.waitForStarted(kStartDeadlineMs)) {
        error_ = QStringLiteral("cupsd did not start: ") + cupsd_.errorString();
        return;
    }
    if (!WaitUntilAnswering()) {
        QFile log(folder_.filePath("error_log"));
        const QString logText =
            log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
        error_ = QStringLiteral("cupsd did not answer: ") + error_ + QStringLiteral("\n") + logText;
        Stop();
    }
}

PrivateCupsServer::~PrivateCupsServer() {
    Stop();
    // Removed while still locked, so that no other server takes it for abandoned meanwhile.
    folder_.remove();
    if (ownerLock_ >= 0) {
        ::close(ownerLock_);
    }
    if (previousCupsServer_) {
        qputenv("CUPS_SERVER", *previousCupsServer_);
    } else {
        qunsetenv("CUPS_SERVER");
    }
}

bool PrivateCupsServer::WriteConfiguration() {
    const QString root = folder_.path();
    for (const char* sub : {"spool", "tmp", "cache", "state", "ppd"}) {
        if (!QDir(root).mkpath(QString::fromLatin1(sub))) {
            return false;
        }
    }
    const QString files = QStringLiteral("ServerRoot %1\n"
                                         "RequestRoot %1/spool\n"
                                         "TempDir %1/tmp\n"
                                         "CacheDir %1/cache\n"
                                         "StateDir %1/state\n"
                                         "ErrorLog %1/error_log\n"
                                         "AccessLog %1/access_log\n"
                                         "PageLog %1/page_log\n"
                                         "Printcap %1/printcap\n"
                                         "ServerBin /usr/lib/cups\n"
                                         "DataDir /usr/share/cups\n"
                                         "SystemGroup root\n"
                                         "User lp\n"
                                         "Group lp\n")
                              .arg(root);
    const QString daemon = QStringLiteral("Listen %1/cups.sock\n"
                                          "Browsing Off\n"
                                          "BrowseLocalProtocols none\n"
                                          "WebInterface No\n"
                                          "LogLevel warn\n"
                                          "<Location />\n"
                                          "  Order allow,deny\n"
                                          "  Allow all\n"
                                          "</Location>\n"
                                          "<Policy default>\n"
                                          "  <Limit All>\n"
                                          "    Order allow,deny\n"
                                          "    Allow all\n"
                                          "  </Limit>\n"
                                          "</Policy>\n")
                               .arg(root);
    return WriteFile(folder_.filePath("cups-files.conf"), files) &&
           WriteFile(folder_.filePath("cupsd.conf"), daemon);
}

bool PrivateCupsServer::WaitUntilAnswering() {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kStartDeadlineMs) {
        QString output;
        if (RunClient(QStringLiteral("lpstat"), {"-r"}, &output) == 0 &&
            output.contains(QStringLiteral("scheduler is running"))) {
            return true;
        }
        // Pauses between attempts, and notices at once when cupsd gave up.
        if (cupsd_.waitForFinished(kPollMs)) {
            error_ = QStringLiteral("cupsd exited with %1").arg(cupsd_.exitCode());
            return false;
        }
    }
    error_ = QStringLiteral("no answer within %1 ms").arg(kStartDeadlineMs);
    return false;
}

bool PrivateCupsServer::AddQueue(const QString& name, const QString& makeAndModel) {
    if (!Running()) {
        return false;
    }
    const QString ppd = folder_.filePath(name + QStringLiteral(".ppd"));
    if (!WriteFile(ppd, RawQueuePpd(makeAndModel))) {
        error_ = QStringLiteral("cannot write ") + ppd;
        return false;
    }
    QString output;
    for (int attempt = 0; attempt < kQueueAttempts; ++attempt) {
        // Right after start-up the first administration request is sometimes refused.
        if (RunClient(QStringLiteral("lpadmin"), {"-p", name, "-E", "-v", "file:///dev/null", "-P", ppd},
                      &output) == 0) {
            return true;
        }
        if (cupsd_.waitForFinished(kQueueRetryPauseMs)) {
            break;
        }
    }
    error_ = QStringLiteral("lpadmin could not add %1: %2").arg(name, output);
    return false;
}

int PrivateCupsServer::RunClient(const QString& program, const QStringList& arguments, QString* output) {
    const std::optional<QString> path = FindProgram(program);
    if (!path) {
        *output = program + QStringLiteral(" is not installed");
        return -1;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.remove(QStringLiteral("LANGUAGE"));
    QProcess client;
    client.setProcessEnvironment(environment);
    client.setProcessChannelMode(QProcess::MergedChannels);
    client.start(*path, arguments);
    if (!client.waitForStarted(kClientDeadlineMs)) {
        *output = client.errorString();
        return -1;
    }
    if (!client.waitForFinished(kClientDeadlineMs)) {
        client.kill();
        client.waitForFinished(kStopDeadlineMs);
        *output = program + QStringLiteral(" did not finish in time");
        return -1;
    }
    *output = QString::fromLocal8Bit(client.readAll());
    return client.exitStatus() == QProcess::NormalExit ? client.exitCode() : -1;
}

void PrivateCupsServer::Stop() {
    if (cupsd_.state() == QProcess::NotRunning) {
        return;
    }
    cupsd_.terminate();
    if (!cupsd_.waitForFinished(kStopDeadlineMs)) {
        cupsd_.kill();
        cupsd_.waitForFinished(kStopDeadlineMs);
    }
}

std::unique_ptr<PrivateCupsServer> PrivateCupsSuite::server_;

void PrivateCupsSuite::StartServer(const Queues& queues) {
    if (!PrivateCupsServer::CupsdProgram()) {
        return;
    }
    server_ = std::make_unique<PrivateCupsServer>();
    for (const auto& [name, makeAndModel] : queues) {
        server_->AddQueue(name, makeAndModel);
    }
}

void PrivateCupsSuite::SetUp() {
    if (!server_) {
        GTEST_SKIP() << "cupsd is not installed (Debian package cups)";
    }
    ASSERT_TRUE(server_->Running()) << server_->Error().toStdString();
}

} // namespace testsupport
