// The quote window as the program shows it, then one "Atenção" box from a
// 250 ms timer, then the end. Exit code 0 only when the events came in the
// order show, timer, destroy.
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/ui/Application.h"

namespace {

std::vector<std::string> events;

class TSmokeForm : public ui::TForm {
 public:
  TSmokeForm() {
    SetClientWidth(265);
    SetClientHeight(60);
    SetColor(ui::clWhite);
    Label1.SetBounds(0, 22, 265, 22);
    Label1.SetCaption(u"Buscando dados do Produto");
    Label1.SetFont({.Name = u"Arial", .Height = 16, .Bold = true});
    Timer1.SetEnabled(false);
    Timer1.SetInterval(250);
    OnShow = [this] {
      events.push_back("show");
      Timer1.SetEnabled(true);
    };
    Timer1.OnTimer = [this] {
      Timer1.SetEnabled(false);
      events.push_back("timer");
      ui::Application().MessageBox(
          u"Ocorreram problemas.\r\n\r\nMensagem: Access denied for user 'root'@'localhost'",
          u"Aten\u00e7\u00e3o", 48);
      ui::Application().Terminate();
    };
    OnDestroy = [] { events.push_back("destroy"); };
  }

  ui::TLabel Label1{*this};
  ui::TTimer Timer1{*this};
};

}  // namespace

int main() {
  std::setlocale(LC_ALL, "");
  ui::Application().Initialize();
  TSmokeForm* form;
  ui::Application().CreateForm(form);
  ui::Application().Run();
  const std::vector<std::string> expected{"show", "timer", "destroy"};
  if (events == expected) return 0;
  std::fprintf(stderr, "unexpected order of events:");
  for (const auto& event : events) std::fprintf(stderr, " %s", event.c_str());
  std::fprintf(stderr, "\n");
  return 1;
}
