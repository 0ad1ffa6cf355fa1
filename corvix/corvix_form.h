#pragma once
// The state of the Corvix window as the logic reads and changes it. The names are those of the
// window's controls; the window shows this state and forwards the user's events to the logic.

#include "form_controls.h"

#include <QString>
#include <array>

namespace corvix {

struct CorvixForm {
    toolkit::CheckBox AppActiveChk;         // "E&in/Aus": monitoring on/off
    toolkit::CheckBox AutoStartChk;         // "Auto&start"
    toolkit::CheckBox ThisServiceActiveChk; // "&Aktivieren": automatic update of the service
    toolkit::CheckBox WildcardChk;          // "&Ja"
    // 0 account name, 1 password, 2 host names (one per line, CR LF), 3 mail exchanger
    std::array<toolkit::TextBox, 4> FtpTB;
    toolkit::OptionGroup AccessTypOpt{2}; // 0 direct dial, 1 network
    toolkit::ListBox DynDnsServiceList;
    QString hostLabelText;
    QString statusText;

    static constexpr int kDirectDial = 0;
    static constexpr int kNetwork = 1;
    bool networkMode() const { return AccessTypOpt.selected() == kNetwork; }
};

} // namespace corvix
