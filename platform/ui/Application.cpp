#include "platform/ui/Application.h"

#include "platform/os/Process.h"
#include "platform/ui/Backend.h"

namespace ui {

namespace {

std::u16string WithLfLineBreaks(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
    out += text[i];
  }
  return out;
}

}  // namespace

TApplication::TApplication() = default;

TApplication::~TApplication() { DestroyForms(); }

void TApplication::Initialize() {
  if (backend_) return;
  backend_ = OpenWindowBackend();
  if (!backend_) backend_ = MakeTerminalBackend();
}

Backend& TApplication::CurrentBackend() {
  Initialize();
  return *backend_;
}

void TApplication::AddForm(std::unique_ptr<TForm> form) {
  form->application_ = this;
  // Timers enabled in the form's constructor start now that they have a loop.
  for (TTimer* timer : form->timers_) timer->Update();
  forms_.push_back(std::move(form));
}

void TApplication::Run() {
  TForm* main = MainForm();
  if (!main) return;
  Backend& backend = CurrentBackend();
  if (auto on_show = main->OnShow) on_show();
  if (!terminated_) main->peer_ = backend.ShowForm(*main, [this] { Terminate(); });
  backend.RunLoop(terminated_);
  DestroyForms();
}

void TApplication::DestroyForms() {
  while (!forms_.empty()) {
    TForm& form = *forms_.back();
    if (auto on_destroy = form.OnDestroy) on_destroy();
    form.peer_.reset();
    forms_.pop_back();
  }
}

void TApplication::MessageBox(const std::u16string& text, const std::u16string& caption,
                              int /*flags*/) {
  CurrentBackend().MessageBox(WithLfLineBreaks(text), caption);
}

std::u16string TApplication::ExeName() const { return os::OwnExecutablePath(); }

TApplication& Application() {
  static TApplication application;
  return application;
}

}  // namespace ui
