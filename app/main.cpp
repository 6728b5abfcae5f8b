// cotacaozelmora BARCODE: quotes one product for the store branch and writes
// the record to produto.txt beside the executable. The exit code is always 0.
#include <langinfo.h>

#include <clocale>
#include <cstdio>
#include <exception>

#include "app/ucotacaozelmora.h"
#include "platform/rtl/CodePage.h"
#include "platform/ui/Application.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  try {
    if (argc > 1) CodigoBarras = rtl::CodePage(nl_langinfo(CODESET)).Decode(argv[1]);
    ui::Application().Initialize();
    TForm1* Form1 = nullptr;
    ui::Application().CreateForm(Form1);
    ui::Application().Run();
  } catch (const std::exception& failure) {
    // Only a fault outside the form's handlers gets here; still end with 0.
    std::fprintf(stderr, "%s\n", failure.what());
  }
  return 0;
}
