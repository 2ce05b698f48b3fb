#pragma once
// Waiting on the window system without fixed pauses: the machines running the
// tests are busy, so every wait is for a condition, bounded by a deadline.
#include <windows.h>

#include <chrono>
#include <functional>

namespace lumio::test {

// Long enough for a loaded machine; a passing wait returns as soon as its condition holds.
inline constexpr std::chrono::milliseconds kDeadline{10000};

// How the test's message loop offers a message to its host before dispatching
// (a form's keyboard routing, IsDialogMessage); true when the message was consumed.
using MessageFilter = std::function<bool(MSG &)>;

// Runs the thread's messages until done() holds; false when the deadline passed first.
bool WaitUntil(const std::function<bool()> &done, std::chrono::milliseconds deadline = kDeadline,
               const MessageFilter &filter = {});

// Handles every message queued for the thread (posted, sent, input, paint) and what
// handling them queues in turn, until the queue is at rest; false when it was not by
// the deadline. Timers do not count: a running timer does not keep the queue busy.
bool Settle(const MessageFilter &filter = {}, std::chrono::milliseconds deadline = kDeadline);

} // namespace lumio::test
