// The application object on the terminal backend (no display): order of
// events, timers, termination and the message box on standard error.
#include "platform/ui/Application.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> events;

class TwoTimerForm : public ui::TForm {
 public:
  TwoTimerForm() {
    Slow.SetEnabled(false);
    Slow.SetInterval(200);
    Fast.SetEnabled(false);
    Fast.SetInterval(1);
  }
  ui::TTimer Slow{*this};
  ui::TTimer Fast{*this};
};

class TerminalApplication : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("DISPLAY");
    events.clear();
  }

  // Creates the main form and records its show and destroy events.
  TwoTimerForm& CreateMainForm() {
    TwoTimerForm* form;
    app.CreateForm(form);
    form->OnShow = [] { events.push_back("show"); };
    form->OnDestroy = [] { events.push_back("destroy"); };
    return *form;
  }

  ui::TApplication app;
};

TEST_F(TerminalApplication, ShowRunsBeforeTheLoopAndTheTimerFiresFromIt) {
  TwoTimerForm& form = CreateMainForm();
  form.OnShow = [&] {
    events.push_back("show");
    form.Fast.SetEnabled(true);
    events.push_back("timer enabled");
  };
  form.Fast.OnTimer = [&] {
    form.Fast.SetEnabled(false);
    events.push_back("timer");
    app.MessageBox(u"falhou", u"Aten\u00e7\u00e3o", 48);
    events.push_back("after box");
    app.Terminate();
  };
  testing::internal::CaptureStderr();
  app.Run();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Aten??o: falhou\n");
  events.push_back("run returned");
  EXPECT_EQ(events, (std::vector<std::string>{"show", "timer enabled", "timer", "after box",
                                              "destroy", "run returned"}));
  EXPECT_TRUE(app.Terminated());
}

TEST_F(TerminalApplication, EarlierDeadlineFiresFirstAndTerminateEndsTheLoopAfterTheHandler) {
  TwoTimerForm& form = CreateMainForm();
  form.OnShow = [&] {
    form.Slow.SetEnabled(true);  // armed first, due later
    form.Fast.SetEnabled(true);
  };
  form.Slow.OnTimer = [&] {
    events.push_back("slow");
    app.Terminate();
  };
  form.Fast.OnTimer = [&] {
    events.push_back("fast");
    app.Terminate();
    events.push_back("fast completed");
  };
  app.Run();
  EXPECT_EQ(events, (std::vector<std::string>{"fast", "fast completed", "destroy"}));
}

TEST_F(TerminalApplication, TimerRepeatsWhileEnabled) {
  TwoTimerForm& form = CreateMainForm();
  int fired = 0;
  form.OnShow = [&] { form.Fast.SetEnabled(true); };
  form.Fast.OnTimer = [&] {
    if (++fired == 3) app.Terminate();
  };
  app.Run();
  EXPECT_EQ(fired, 3);
}

TEST_F(TerminalApplication, LoopEndsWhenNoTimerIsLeftEnabled) {
  TwoTimerForm& form = CreateMainForm();
  int fired = 0;
  form.OnShow = [&] { form.Fast.SetEnabled(true); };
  form.Fast.OnTimer = [&] {
    if (++fired == 2) form.Fast.SetEnabled(false);
  };
  app.Run();
  EXPECT_EQ(fired, 2);
  EXPECT_FALSE(app.Terminated());
  EXPECT_EQ(events, (std::vector<std::string>{"destroy"}));
}

TEST_F(TerminalApplication, RunEndsAtOnceWhenShowArmsNothing) {
  CreateMainForm();
  app.Run();
  EXPECT_EQ(events, (std::vector<std::string>{"show", "destroy"}));
}

TEST_F(TerminalApplication, TerminateInShowSkipsTheLoop) {
  TwoTimerForm& form = CreateMainForm();
  form.OnShow = [&] {
    events.push_back("show");
    form.Fast.SetEnabled(true);
    app.Terminate();
  };
  form.Fast.OnTimer = [] { events.push_back("timer"); };
  app.Run();
  EXPECT_EQ(events, (std::vector<std::string>{"show", "destroy"}));
}

TEST_F(TerminalApplication, ZeroIntervalOrDisabledTimerNeverFires) {
  TwoTimerForm& form = CreateMainForm();
  form.OnShow = [&] {
    form.Fast.SetInterval(0);
    form.Fast.SetEnabled(true);
    form.Slow.SetEnabled(true);
    form.Slow.SetEnabled(false);
  };
  form.Fast.OnTimer = [] { events.push_back("fast"); };
  form.Slow.OnTimer = [] { events.push_back("slow"); };
  app.Run();
  EXPECT_EQ(events, (std::vector<std::string>{"destroy"}));
}

// Left enabled by its form's constructor, as a timer is by default.
class ArmedAtCreationForm : public ui::TForm {
 public:
  ArmedAtCreationForm() { Timer1.SetInterval(1); }
  ui::TTimer Timer1{*this};
};

TEST_F(TerminalApplication, TimerEnabledBeforeTheFormBelongsToTheApplicationStartsWithIt) {
  ArmedAtCreationForm* form;
  app.CreateForm(form);
  form->Timer1.OnTimer = [&] {
    events.push_back("timer");
    app.Terminate();
  };
  app.Run();
  EXPECT_EQ(events, (std::vector<std::string>{"timer"}));
}

TEST_F(TerminalApplication, FirstFormIsMainAndFormsAreDestroyedLastFirst) {
  TwoTimerForm& main = CreateMainForm();
  TwoTimerForm* second;
  app.CreateForm(second);
  second->OnShow = [] { events.push_back("second shown"); };
  second->OnDestroy = [] { events.push_back("second destroyed"); };
  EXPECT_EQ(app.MainForm(), &main);
  app.Run();
  EXPECT_EQ(events, (std::vector<std::string>{"show", "second destroyed", "destroy"}));
}

TEST(Application, FormsDestroyedOnceWhetherOrNotRunRan) {
  unsetenv("DISPLAY");
  for (const bool run : {false, true}) {
    int destroyed = 0;
    {
      ui::TApplication app;
      ui::TForm* form;
      app.CreateForm(form);
      form->OnDestroy = [&] { ++destroyed; };
      if (run) app.Run();
    }
    EXPECT_EQ(destroyed, 1) << "run: " << run;
  }
}

TEST(Application, UnusableDisplayFallsBackToTheTerminal) {
  for (const char* display : {static_cast<const char*>(nullptr), ":64999"}) {
    if (display)
      setenv("DISPLAY", display, 1);
    else
      unsetenv("DISPLAY");
    ui::TApplication app;
    app.Initialize();
    testing::internal::CaptureStderr();
    app.MessageBox(u"x", u"c", 48);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "c: x\n") << (display ? display : "unset");
  }
  unsetenv("DISPLAY");
}

TEST(Application, MessageBoxOnStandardErrorInTheLocaleCharset) {
  unsetenv("DISPLAY");
  const struct {
    const char* locale;
    std::u16string text;
    std::string written;
  } cases[] = {
      {"C", u"Linha 1\r\nLinha 2\r\n\r\nFim", "Aten??o: Linha 1\nLinha 2\n\nFim\n"},
      {"C.UTF-8", u"Linha 1\r\nLinha 2\r\n\r\nFim",
       "Aten\xc3\xa7\xc3\xa3o: Linha 1\nLinha 2\n\nFim\n"},
      // Only CR LF pairs are line breaks to rewrite.
      {"C", u"a\rb\nc\r\n", "Aten??o: a\rb\nc\n\n"},
      {"C", u"", "Aten??o: \n"},
  };
  ui::TApplication app;
  for (const auto& c : cases) {
    ASSERT_NE(std::setlocale(LC_ALL, c.locale), nullptr) << c.locale;
    testing::internal::CaptureStderr();
    app.MessageBox(c.text, u"Aten\u00e7\u00e3o", 48);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.written) << c.written;
  }
  std::setlocale(LC_ALL, "C");
}

TEST(Application, ExeNameIsTheFullPathOfTheRunningProgram) {
  const std::u16string name = ui::TApplication().ExeName();
  ASSERT_FALSE(name.empty());
  EXPECT_EQ(name.front(), u'/');
  EXPECT_TRUE(name.ends_with(u"/ui_application_test"));
}

TEST(Form, LabelsAreListedWhileTheyLive) {
  ui::TForm form;
  ui::TLabel first{form};
  {
    ui::TLabel second{form};
    EXPECT_EQ(form.Labels(), (std::vector<ui::TLabel*>{&first, &second}));
  }
  EXPECT_EQ(form.Labels(), (std::vector<ui::TLabel*>{&first}));
}

}  // namespace
