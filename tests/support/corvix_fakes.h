#pragma once
// Stand-ins for the window, the timer, the channels and the address list of Corvix.

#include "corvix_ports.h"
#include "transfer_channel.h"

#include <QList>
#include <QStringList>

class FakeWindow : public corvix::CorvixWindow {
public:
    void setCaption(const QString &c) override
    {
        caption = c;
        log << QStringLiteral("caption");
    }
    void setStateIcon(int s) override { state = s; }
    void setStatusText(const QString &t) override { statusHistory << t; }
    void showWindow() override
    {
        visible = true;
        log << QStringLiteral("show");
    }
    void hideWindow() override
    {
        visible = false;
        log << QStringLiteral("hide");
    }
    bool isWindowVisible() const override { return visible; }
    void showMakerBadge() override { log << QStringLiteral("badge"); }
    void restoreWindowPosition() override { log << QStringLiteral("restorePosition"); }
    void saveWindowPosition() override { log << QStringLiteral("savePosition"); }
    void hookWindow() override { log << QStringLiteral("hook"); }
    void unhookWindow() override { log << QStringLiteral("unhook"); }
    void trayAdd(const QString &t) override
    {
        tip = t;
        trayShown = true;
        log << QStringLiteral("trayAdd");
    }
    void trayModify(const QString &t) override { tip = t; }
    void trayDelete() override
    {
        trayShown = false;
        log << QStringLiteral("trayDelete");
    }
    void beep() override { ++beeps; }
    void processEvents() override
    {
        if (onProcessEvents)
            onProcessEvents();
    }
    void endProgram() override
    {
        ended = true;
        log << QStringLiteral("end");
    }

    QString caption;
    int state = 0;
    QStringList statusHistory;
    bool visible = false;
    QString tip;
    bool trayShown = false;
    int beeps = 0;
    bool ended = false;
    QStringList log;
    std::function<void()> onProcessEvents;

    // The status texts without their date and time.
    QStringList statusTexts() const
    {
        QStringList texts;
        for (const QString &s : statusHistory)
            texts << s.mid(s.indexOf(QStringLiteral(": ")) + 2);
        return texts;
    }
    QString lastStatus() const { return statusTexts().value(statusTexts().size() - 1); }
};

class FakeTimer : public corvix::TickTimer {
public:
    void start() override { active = true; }
    void stop() override { active = false; }
    bool isActive() const override { return active; }
    bool active = false;
};

// A channel whose transfers end when the test says so.
class FakeChannel : public corvix::TransferChannel {
public:
    bool isBusy() const override { return busy; }
    void start(const corvix::TransferRequest &r) override
    {
        requests << r;
        busy = true;
    }
    bool readPiece(QString &piece, int &errorCode, QString &errorText) override
    {
        if (failReadAt >= 0 && reads++ == failReadAt) {
            errorCode = 99;
            errorText = QStringLiteral("Lesefehler");
            return false;
        }
        piece = body.left(kPieceSize);
        body.remove(0, piece.size());
        return true;
    }
    int resultCode() const override { return code; }
    QString resultText() const override { return text; }
    void cancel() override
    {
        busy = false;
        ++cancels;
    }

    void complete(const QString &replyBody)
    {
        busy = false;
        body = replyBody;
        onStateChanged(kStateReplyComplete);
    }
    void fail(int errorCode, const QString &errorText)
    {
        busy = false;
        code = errorCode;
        text = errorText;
        onStateChanged(kStateError);
    }

    QList<corvix::TransferRequest> requests;
    bool busy = false;
    QString body;
    int code = 0;
    QString text;
    int cancels = 0;
    int failReadAt = -1;
    int reads = 0;
};

class FakeAddresses : public corvix::LocalAddresses {
public:
    std::optional<QStringList> ipv4Addresses(int &errorNumber) override
    {
        ++calls;
        if (failWith) {
            errorNumber = failWith;
            return std::nullopt;
        }
        return addresses;
    }
    QStringList addresses;
    int failWith = 0;
    int calls = 0;
};
