// Corvix: keeps the host names of a dynamic-DNS account pointed at this PC's public address.

#include "corvix_app.h"
#include "termination.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSessionManager>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvix"));
    QApplication::setQuitOnLastWindowClosed(false);
    // The program speaks German whatever the user's locale, Qt's own texts included.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    corvix::CorvixApp corvix;
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                     [&corvix](QSessionManager &manager) { corvix.sessionEnds(manager); });
    toolkit::onTerminationSignal(
        [&corvix] { corvix.cycle().requestUnload(corvix::UnloadCause::Terminate); });

    corvix.start(QApplication::arguments().mid(1));
    return QApplication::exec();
}
