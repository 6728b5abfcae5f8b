// The application object: chooses the user-interface backend, owns the forms,
// runs the message loop and shows message boxes. Single-threaded: every call
// and every event runs on the thread that calls Run.
#pragma once

#include <concepts>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Form.h"

namespace ui {

class TApplication {
 public:
  TApplication();
  // Destroys the forms Run has not destroyed (their OnDestroy runs then).
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Chooses the backend once: a window backend when an X display opens, else
  // the terminal backend. A missing display never ends the process. Called
  // implicitly by the first operation that needs a backend.
  void Initialize();

  // Creates a T, hands ownership to the application and points form at it
  // (valid until Run returns). The first form created is the main form.
  template <std::derived_from<TForm> T>
  void CreateForm(T*& form) {
    auto created = std::make_unique<T>();
    form = created.get();
    AddForm(std::move(created));
  }
  TForm* MainForm() const { return forms_.empty() ? nullptr : forms_.front().get(); }

  // Shows the main form (its OnShow runs first, then its window appears) and
  // runs the message loop until Terminate is called, the main window is closed,
  // or, without windows, no timer is left enabled. Then destroys the forms,
  // last created first, each one's OnDestroy running before it goes. Does
  // nothing without a main form.
  void Run();
  // Asks the message loop to end; the running handler completes first.
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }

  // A modal box with the caption as title, an exclamation icon and one OK
  // button; returns once it is dismissed. A CR LF in text breaks the line.
  // flags: only 48 (exclamation icon, OK button) is provided, whatever is
  // passed. Without a display the box is written to standard error in the
  // locale's charset as caption, ": ", text with CR LF as LF, line feed, and
  // returns at once as if OK were pressed.
  void MessageBox(const std::u16string& text, const std::u16string& caption, int flags);

  // Full path of the running executable; fails with rtl::EOSError when the
  // system does not tell it.
  std::u16string ExeName() const;

 private:
  friend class TForm;

  void AddForm(std::unique_ptr<TForm> form);
  Backend& CurrentBackend();
  void DestroyForms();

  std::unique_ptr<Backend> backend_;
  std::vector<std::unique_ptr<TForm>> forms_;
  bool terminated_ = false;
};

// The process's application object.
TApplication& Application();

}  // namespace ui
