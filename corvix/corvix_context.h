#pragma once
// What the parts of the Corvix logic share while the program runs.

#include "corvix_form.h"
#include "corvix_ports.h"
#include "message_boxes.h"
#include "provider.h"
#include "transfer_channel.h"

#include <array>
#include <functional>

namespace corvix {

struct CorvixContext {
    CorvixContext(CorvixWindow &w, toolkit::MessageBoxes &b, Clock c, TransferChannel &check,
                  TransferChannel &update)
        : window(w), boxes(b), now(std::move(c)), channels{&check, &update}
    {
    }

    CorvixForm form;
    CorvixWindow &window;
    toolkit::MessageBoxes &boxes;
    Clock now;
    std::array<TransferChannel *, 2> channels; // 0: address check, 1: update request
    ProviderConfig provider = defaultProvider();
    // The address for which the last update request was started.
    QString LastSentAddress;

    std::function<void()> stopMonitoring;

    // Date and time, ": " and the text into the status line.
    void ShowStatus(const QString &text);
};

inline const QString kProductName = QStringLiteral("Corvix");

} // namespace corvix
