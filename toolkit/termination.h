#pragma once
// Turns SIGTERM (and SIGINT, SIGHUP) into a call on the event loop, where a program can end in
// its ordinary way and save what it holds.

#include <functional>

namespace toolkit {

// Installs the handlers once; later calls replace the function.
bool onTerminationSignal(std::function<void()> handler);

} // namespace toolkit
