// The main form: connects in its show handler, then looks the product up
// from a timer once the window is up, and ends the run.
#pragma once

#include <string>

#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/ui/Form.h"

// The raw first command-line argument: the barcode to quote.
extern std::u16string CodigoBarras;

class TForm1 : public ui::TForm {
 public:
  TForm1();

  db::TUniConnection Conexao;
  db::TUniTransaction Transacao;
  db::TUniQuery QTemp;
  ui::TLabel Label1;
  ui::TTimer Timer1;
  db::TUniQuery QTempPreco;

  void FormShow();
  void Timer1Timer();
  void FormDestroy();
  void QTempAfterOpen(db::TDataSet& DataSet);
  void QTempPrecoAfterOpen(db::TDataSet& DataSet);

 private:
  // The branch's quote-price flag, read through QTempPreco.
  bool UsaPrecoCotacao();
};
