#include "platform/ui/Form.h"

#include <algorithm>

#include "platform/ui/Application.h"
#include "platform/ui/Backend.h"

namespace ui {

namespace {

template <typename T>
void Unregister(std::vector<T*>& list, T* item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

TForm::TForm() = default;
TForm::~TForm() = default;

Backend* TForm::AttachedBackend() const {
  return application_ ? &application_->CurrentBackend() : nullptr;
}

void TForm::Changed() {
  if (peer_) peer_->Update();
}

void TForm::SetClientWidth(int width) {
  client_width_ = width;
  Changed();
}

void TForm::SetClientHeight(int height) {
  client_height_ = height;
  Changed();
}

void TForm::SetColor(TColor color) {
  color_ = color;
  Changed();
}

void TForm::SetCaption(std::u16string caption) {
  caption_ = std::move(caption);
  Changed();
}

TLabel::TLabel(TForm& owner) : owner_(owner) { owner_.labels_.push_back(this); }

TLabel::~TLabel() { Unregister(owner_.labels_, this); }

void TLabel::SetBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  owner_.Changed();
}

void TLabel::SetCaption(std::u16string caption) {
  caption_ = std::move(caption);
  owner_.Changed();
}

void TLabel::SetFont(TFont font) {
  font_ = std::move(font);
  owner_.Changed();
}

TTimer::TTimer(TForm& owner) : owner_(owner) { owner_.timers_.push_back(this); }

TTimer::~TTimer() {
  if (Backend* backend = owner_.AttachedBackend()) backend->SetTimer(*this, false);
  Unregister(owner_.timers_, this);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void TTimer::SetInterval(unsigned interval) {
  if (interval == interval_) return;
  interval_ = interval;
  Update();
}

void TTimer::Update() {
  if (Backend* backend = owner_.AttachedBackend())
    backend->SetTimer(*this, enabled_ && interval_ > 0);
}

void FireTimer(const TTimer& timer) {
  if (auto handler = timer.OnTimer) handler();
}

}  // namespace ui
