// The window backend: FLTK 1.3 on an X display.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>
#include <FL/x.H>

#include <algorithm>
#include <vector>

#include "platform/rtl/Text.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Form.h"

namespace ui {

namespace {

// FLTK reads "@" in a label as the start of a symbol; "@@" is a plain "@".
std::string LabelText(std::u16string_view text) {
  std::string out;
  for (char c : rtl::Utf16ToUtf8(text)) {
    if (c == '@') out += '@';
    out += c;
  }
  return out;
}

Fl_Color FltkColor(TColor color) {
  return fl_rgb_color(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

class FltkFormPeer : public FormPeer {
 public:
  FltkFormPeer(TForm& form, std::function<void()> on_close)
      : form_(form), on_close_(std::move(on_close)) {
    const int width = std::max(1, form.ClientWidth());
    const int height = std::max(1, form.ClientHeight());
    // The two-argument constructor always makes a top-level window.
    window_ = std::make_unique<Fl_Window>(width, height);
    window_->position((Fl::w() - width) / 2, (Fl::h() - height) / 2);
    for (size_t i = 0; i < form.Labels().size(); ++i) boxes_.push_back(new Fl_Box(0, 0, 0, 0));
    window_->end();
    // Children keep their place and size when the user resizes the window.
    window_->resizable(nullptr);
    window_->size_range(1, 1);
    window_->callback(&FltkFormPeer::WindowCallback, this);
    Update();
    window_->show();
  }

  void Update() override {
    window_->size(std::max(1, form_.ClientWidth()), std::max(1, form_.ClientHeight()));
    window_->color(FltkColor(form_.Color()));
    window_->copy_label(rtl::Utf16ToUtf8(form_.Caption()).c_str());  // a title: no symbols
    const auto& labels = form_.Labels();
    for (size_t i = 0; i < std::min(boxes_.size(), labels.size()); ++i)
      ApplyLabel(*labels[i], *boxes_[i]);
    window_->redraw();
  }

 private:
  void ApplyLabel(const TLabel& label, Fl_Box& box) {
    box.resize(label.Left(), label.Top(), label.Width(), label.Height());
    box.box(FL_FLAT_BOX);  // opaque, in the form's colour
    box.color(window_->color());
    box.copy_label(LabelText(label.Caption()).c_str());
    box.labelfont(label.Font().Bold ? FL_HELVETICA_BOLD : FL_HELVETICA);
    box.labelsize(label.Font().Height);
    box.labelcolor(FL_FOREGROUND_COLOR);
    box.align(FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
  }

  // FLTK calls a window's callback for its close button and for Escape; only
  // the close button closes a form.
  static void WindowCallback(Fl_Widget*, void* data) {
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    static_cast<FltkFormPeer*>(data)->on_close_();
  }

  TForm& form_;
  std::function<void()> on_close_;
  std::unique_ptr<Fl_Window> window_;  // owns the boxes
  std::vector<Fl_Box*> boxes_;
};

class FltkBackend : public Backend {
 public:
  FltkBackend() {
    fl_close = "OK";
    // FLTK would open the box under the pointer; the window manager places
    // dialogs better, centred on the screen or their parent.
    fl_message_hotspot(0);
  }

  std::unique_ptr<FormPeer> ShowForm(TForm& form, std::function<void()> on_close) override {
    return std::make_unique<FltkFormPeer>(form, std::move(on_close));
  }

  void SetTimer(TTimer& timer, bool armed) override {
    Fl::remove_timeout(&FltkBackend::TimerCallback, &timer);
    if (armed) Fl::add_timeout(timer.Interval() / 1000.0, &FltkBackend::TimerCallback, &timer);
  }

  void RunLoop(const bool& terminated) override {
    while (!terminated && Fl::first_window()) Fl::wait(1e20);
  }

  void MessageBox(std::u16string_view text, std::u16string_view caption) override {
    fl_message_title(rtl::Utf16ToUtf8(caption).c_str());
    fl_alert("%s", LabelText(text).c_str());
  }

 private:
  static void TimerCallback(void* data) {
    auto& timer = *static_cast<TTimer*>(data);
    // Rescheduled before the handler runs, so that the handler may disable it.
    Fl::repeat_timeout(timer.Interval() / 1000.0, &FltkBackend::TimerCallback, data);
    FireTimer(timer);
  }
};

}  // namespace

std::unique_ptr<Backend> OpenWindowBackend() {
  // FLTK ends the process when it cannot open the display itself, so it is
  // opened here first and handed over.
  Display* display = XOpenDisplay(nullptr);
  if (!display) return nullptr;
  fl_open_display(display);
  return std::make_unique<FltkBackend>();
}

}  // namespace ui
