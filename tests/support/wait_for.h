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

// For a modal loop the test is about to enter (a dialog, a menu): from inside it,
// act() runs once, as soon as ready() holds. Checked on a thread timer, so only a
// loop that dispatches timers runs it; after the deadline it gives up, and the
// loop is left to the test's own timeout.
void ActWhen(std::function<bool()> ready, std::function<void()> act, std::chrono::milliseconds deadline = kDeadline);

} // namespace lumio::test
