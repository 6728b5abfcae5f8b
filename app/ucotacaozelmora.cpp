#include "app/ucotacaozelmora.h"

#include <exception>

#include "Lib/UtilDB.h"
#include "app/Configuracao.h"
#include "app/Cotacao.h"
#include "app/ProductQueries.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"
#include "platform/rtl/Variant.h"
#include "platform/ui/Application.h"

std::u16string CodigoBarras;

namespace {

constexpr char16_t kAtencao[] = u"Aten\u00e7\u00e3o";
constexpr int kMbIconExclamation = 48;

constexpr char16_t kFalhaConexao[] =
    u"N\u00e3o foi poss\u00edvel conectar ao servidor de banco de dados.\r\n\r\n"
    u"O arquivo sistema_vorn.ini que est\u00e1 na pasta de instala\u00e7\u00e3o do Sistema "
    u"QueltoVorn n\u00e3o \u00e9 o mesmo existente no diret\u00f3rio de instala\u00e7\u00e3o do "
    u"Zelmora.\r\n\r\n"
    u"Abra um chamado com o nosso suporte t\u00e9cnico e informe o conte\u00fado desta mensagem.";

constexpr char16_t kFalhaConsulta[] =
    u"Ocorreram problemas durante a execu\u00e7\u00e3o do Cota\u00e7\u00e3o Zelmora.\r\n\r\n"
    u"Mensagem: ";

std::u16string Mensagem(const std::exception& failure) {
  if (const auto* own = dynamic_cast<const rtl::Exception*>(&failure)) return own->Message();
  return rtl::Utf8ToUtf16(failure.what());
}

void Avisar(const std::u16string& texto) {
  ui::Application().MessageBox(texto, kAtencao, kMbIconExclamation);
  ui::Application().Terminate();
}

std::u16string ExeName() { return ui::Application().ExeName(); }

// Closes the query however the quote step ends.
struct FecharAoSair {
  db::TUniQuery& query;
  ~FecharAoSair() { query.Close(); }
};

}  // namespace

TForm1::TForm1() : QTemp(&Conexao), Label1(*this), Timer1(*this), QTempPreco(&Conexao) {
  SetClientWidth(265);
  SetClientHeight(60);
  SetColor(ui::clWhite);
  SetCaption(u"");

  Transacao.DefaultConnection = &Conexao;
  Transacao.DefaultCloseAction = db::TCRTransactionAction::taCommit;
  QTemp.Transaction = &Transacao;
  QTemp.ReadOnly = true;
  QTemp.Options.RequiredFields = false;
  QTemp.AfterOpen = [this](db::TDataSet& DataSet) { QTempAfterOpen(DataSet); };
  QTempPreco.AfterOpen = [this](db::TDataSet& DataSet) { QTempPrecoAfterOpen(DataSet); };

  Label1.SetBounds(0, 22, 265, 22);
  Label1.SetCaption(u"Buscando dados do Produto");
  Label1.SetFont({u"Arial", 16, true});

  Timer1.SetEnabled(false);
  Timer1.SetInterval(250);
  Timer1.OnTimer = [this] { Timer1Timer(); };

  OnShow = [this] { FormShow(); };
  OnDestroy = [this] { FormDestroy(); };
}

void TForm1::FormShow() {
  try {
    if (!ConectarBanco(Conexao, ExeName())) throw rtl::Exception(kFalhaConexao);
    Timer1.SetEnabled(true);
  } catch (const std::exception& failure) {
    Avisar(Mensagem(failure));
  }
}

void TForm1::Timer1Timer() {
  Timer1.SetEnabled(false);
  try {
    QTemp.Close();
    QTemp.SetSQL(SqlPorBarrasProduto(GetCodigoFilial(ExeName()), CodigoDeBusca(CodigoBarras)));
    QTemp.Open();
    if (QTemp.IsEmpty()) {
      QTemp.SetSQL(SqlPorTabelaBarras(GetCodigoFilial(ExeName()), CodigoDeBusca(CodigoBarras)));
      QTemp.Open();
    }
    if (!QTemp.IsEmpty()) {
      FecharAoSair fechar{QTemp};
      GravarCotacao(CodigoBarras, QTemp, rtl::Today(), [this] { return UsaPrecoCotacao(); },
                    ExtractFilePath(ExeName()) + u"produto.txt");
    }
    ui::Application().Terminate();
  } catch (const std::exception& failure) {
    Avisar(kFalhaConsulta + Mensagem(failure));
  }
}

void TForm1::FormDestroy() {
  try {
    if (Conexao.Connected()) Conexao.Disconnect();
  } catch (...) {
    // A failing disconnect at the end of the run changes nothing for the user.
  }
}

void TForm1::QTempAfterOpen(db::TDataSet& DataSet) { TUtilDB::SetFieldsReadOnlyFalse(DataSet); }

void TForm1::QTempPrecoAfterOpen(db::TDataSet& DataSet) {
  TUtilDB::SetFieldsReadOnlyFalse(DataSet);
}

bool TForm1::UsaPrecoCotacao() {
  QTempPreco.Close();
  QTempPreco.SetSQL(SqlTipoPrecoCotacao(GetCodigoFilial(ExeName())));
  QTempPreco.Open();
  const rtl::Variant tipo = QTempPreco.IsEmpty()
                                ? rtl::Variant::Null()
                                : QTempPreco.FieldByName(u"tipo_preco_cotacao").AsVariant();
  return UsaCotacao(tipo);
}
