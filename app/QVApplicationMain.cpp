#include "app/QVAppDelegate.h"
#include "app/QVSingleInstance.h"
#include "cli/CommonOptions.h"
#include "menubar/StatusBarItem.h"
#include "platform/log/Log.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void handleTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

// SIGTERM and SIGINT end the event loop like Quit does, so the process ends in order.
void quitOnTerminationSignals(QApplication& app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
        notifier->setEnabled(false);
        char byte;
        [[maybe_unused]] const ssize_t got = ::read(g_signalPipe[0], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = handleTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

const QString kDescription = QStringLiteral(
    "Voltara: the battery in the system tray.\n"
    "\n"
    "Without a command, starts the tray application (or brings the running one forward).\n"
    "Commands:\n"
    "  status [--json]                        the current battery reading\n"
    "  history power --range day|week|month|year [--page N] [--json|--csv]\n"
    "  history charge [--page N] [--json|--csv]\n"
    "  history health [--json|--csv]          the data the history charts show\n"
    "  import PATH                            import first-generation history\n"
    "Run 'voltara COMMAND --help' for the options of a command.");

} // namespace

// Starts the tray application, or hands over to the one already running.
int runApplication(int argc, char** argv)
{
    // --help and --version answer without a display.
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" || arg == "--version") {
            QCoreApplication core(argc, argv);
            QCoreApplication::setApplicationName(QStringLiteral("voltara"));
            QCoreApplication::setApplicationVersion(QStringLiteral(VOLTARA_VERSION));
            QCommandLineParser parser;
            parser.setApplicationDescription(kDescription);
            addCommonOptions(parser);
            parser.process(core);   // prints and exits
            return 0;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Voltara"));
    QApplication::setApplicationVersion(QStringLiteral(VOLTARA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("voltara"));
    // A tray application goes on when its last window closes.
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(kDescription);
    addCommonOptions(parser);   // with --help and --version
    parser.process(app);
    applyCommonOptions(parser);

    QVSingleInstance instance;
    if (!instance.becomePrimary()) {
        if (instance.notifyPrimary())
            return 0;
        std::fprintf(stderr, "voltara: another Voltara is running but does not answer\n");
        return 1;
    }

    quitOnTerminationSignals(app);
    if (!StatusBarItem::isAvailable())
        QVLog(QStringLiteral("No system tray is available yet; the battery shows once one starts"));

    QVAppDelegate delegate;
    QObject::connect(&instance, &QVSingleInstance::reopenRequested, &delegate, [&delegate] {
        delegate.applicationShouldHandleReopen(false);
    });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate, [&delegate] {
        delegate.applicationWillTerminate();
    });
    delegate.applicationWillFinishLaunching();
    QTimer::singleShot(0, &delegate, [&delegate] { delegate.applicationDidFinishLaunching(); });
    return app.exec();
}
