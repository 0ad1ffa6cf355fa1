#pragma once
// A Corvix logic with every outside part replaced, its files in a temporary folder.

#include "corvix_fakes.h"
#include "scripted_boxes.h"
#include "update_cycle.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <memory>

struct CorvixHarness {
    explicit CorvixHarness(const QString &folder = {})
    {
        const QString base = folder.isEmpty() ? dir.path() : folder;
        qputenv("XDG_CONFIG_HOME", (base + QStringLiteral("/config")).toUtf8());
        iniPath = base + QStringLiteral("/Corvix.INI");
        registry = std::make_unique<toolkit::Registry>(base + QStringLiteral("/registry.ini"));
        corvix::CorvixDependencies deps{
            window,
            boxes,
            check,
            update,
            addresses,
            timer,
            *registry,
            iniPath,
            {QStringLiteral("/opt/Corvix/corvix"), QStringLiteral("/AUTOSTART")},
            [] { return QDateTime(QDate(2026, 12, 11), QTime(13, 5, 7)); }};
        cycle = std::make_unique<corvix::UpdateCycle>(deps);
    }

    corvix::CorvixForm &form() { return cycle->form(); }

    // Fills in a complete account through the form, as typing would.
    void enterAccount(const QString &hosts = QStringLiteral("a.example.org"))
    {
        form().FtpTB[0].setText(QStringLiteral("benutzer"));
        form().FtpTB[1].setText(QStringLiteral("geheim"));
        form().FtpTB[2].setText(hosts);
        form().ThisServiceActiveChk.setChecked(true);
    }

    // Loads, enters the account, chooses the access mode, switches monitoring on and lets the
    // first tick run.
    void monitorFirstTick(int accessMode)
    {
        cycle->load({});
        enterAccount();
        form().AccessTypOpt.select(accessMode);
        cycle->StartMonitoring();
        cycle->tick();
    }

    QTemporaryDir dir;
    QString iniPath;
    FakeWindow window;
    ScriptedBoxes boxes;
    FakeChannel check;
    FakeChannel update;
    FakeAddresses addresses;
    FakeTimer timer;
    std::unique_ptr<toolkit::Registry> registry;
    std::unique_ptr<corvix::UpdateCycle> cycle;
};
