// The form and the components it owns: labels and timers. A form shows as a
// window when the application has a display; without one it has no window
// but its events and timers behave the same.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class Backend;
class FormPeer;
class TApplication;
class TLabel;
class TTimer;

// An RGB colour written 0x00BBGGRR, as form descriptions write it.
using TColor = std::uint32_t;
inline constexpr TColor clWhite = 0x00FFFFFF;
inline constexpr TColor clBtnFace = 0x00F0F0F0;

// A top-level window, centred on the screen and resizable by the user (its
// labels keep their place); its frame and buttons are the window manager's.
// Closing the main form's window terminates the application. Created and owned by TApplication::CreateForm; derive from it
// and declare the components as members constructed with *this.
class TForm {
 public:
  TForm();
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  int ClientWidth() const { return client_width_; }
  void SetClientWidth(int width);
  int ClientHeight() const { return client_height_; }
  void SetClientHeight(int height);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  // The window title.
  const std::u16string& Caption() const { return caption_; }
  void SetCaption(std::u16string caption);

  // The labels constructed with this form as owner, in construction order.
  const std::vector<TLabel*>& Labels() const { return labels_; }

  // Runs when the main form is shown by TApplication::Run, before the message
  // loop starts and before the window appears.
  std::function<void()> OnShow;
  // Runs once, when the application destroys the form (after the message loop).
  std::function<void()> OnDestroy;

 private:
  friend class TApplication;
  friend class TLabel;
  friend class TTimer;

  // The application's backend once the form belongs to one, else nullptr.
  Backend* AttachedBackend() const;
  // Repaints the window, if shown, after a property change.
  void Changed();

  TApplication* application_ = nullptr;
  std::unique_ptr<FormPeer> peer_;
  int client_width_ = 320;
  int client_height_ = 240;
  TColor color_ = clBtnFace;
  std::u16string caption_;
  std::vector<TLabel*> labels_;
  std::vector<TTimer*> timers_;
};

struct TFont {
  // The window backend draws every name with its sans-serif face.
  std::u16string Name = u"MS Sans Serif";
  int Height = 11;  // pixels
  bool Bold = false;
};

// A line of text in the system's window-text colour on an opaque background
// of the form's colour, centred horizontally at the top of its bounds and
// clipped to them (no automatic sizing).
class TLabel {
 public:
  explicit TLabel(TForm& owner);
  ~TLabel();
  TLabel(const TLabel&) = delete;
  TLabel& operator=(const TLabel&) = delete;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetBounds(int left, int top, int width, int height);
  const std::u16string& Caption() const { return caption_; }
  void SetCaption(std::u16string caption);
  const TFont& Font() const { return font_; }
  void SetFont(TFont font);

 private:
  TForm& owner_;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  std::u16string caption_;
  TFont font_;
};

// Calls OnTimer from the message loop every Interval milliseconds while
// Enabled. It runs only once its form belongs to the application; enabling
// it, re-enabling it or changing Interval starts a new period.
class TTimer {
 public:
  explicit TTimer(TForm& owner);
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Milliseconds; 0 stops the timer as if disabled.
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned interval);

  std::function<void()> OnTimer;

 private:
  friend class TApplication;

  // Arms or disarms the timer at the backend to match Enabled and Interval.
  void Update();

  TForm& owner_;
  bool enabled_ = true;
  unsigned interval_ = 1000;
};

}  // namespace ui
