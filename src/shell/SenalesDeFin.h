#pragma once
// The signals that ask a process to end (SIGTERM from a system shutting down or a service manager,
// SIGINT from Ctrl+C, SIGHUP from a terminal that closes) would end the desktop program on the spot, a
// send half-done and its lock file left behind. They reach the event loop instead; a second one ends
// the process as before. Nothing to do on Windows, whose requests to end come as window messages.

#include <functional>

class QObject;

// `alRecibir` runs on the thread of `contexto` at the first of those signals, for as long as `contexto`
// lives.
void atenderSenalesDeFin(QObject* contexto, std::function<void()> alRecibir);
