// Internal: what the application object asks of a user-interface backend.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace ui {

class TForm;
class TTimer;

// The window of a shown form; destroying it removes the window.
class FormPeer {
 public:
  virtual ~FormPeer() = default;
  // Applies the form's and its labels' current properties.
  virtual void Update() = 0;
};

class Backend {
 public:
  virtual ~Backend() = default;
  // Makes the form visible; on_close runs when the user closes its window.
  // nullptr when the backend has no windows.
  virtual std::unique_ptr<FormPeer> ShowForm(TForm& form, std::function<void()> on_close) = 0;
  // Arming (again) starts a new period of timer.Interval(); disarming an
  // unarmed timer does nothing.
  virtual void SetTimer(TTimer& timer, bool armed) = 0;
  // Dispatches events and timers until terminated is true or there is nothing
  // left to wait for.
  virtual void RunLoop(const bool& terminated) = 0;
  // Modal; text already has its CR LF turned into LF.
  virtual void MessageBox(std::u16string_view text, std::u16string_view caption) = 0;
};

// The FLTK backend on the default X display; nullptr when it cannot be opened.
std::unique_ptr<Backend> OpenWindowBackend();
std::unique_ptr<Backend> MakeTerminalBackend();

// Runs the timer's handler; a copy, so the handler may replace OnTimer.
void FireTimer(const TTimer& timer);

}  // namespace ui
