#include "app/Configuracao.h"

#include "app/Criptografia.h"
#include "connection/UConfiguraConexaoBase.h"
#include "platform/db/Connection.h"
#include "platform/ini/IniFile.h"
#include "platform/os/Process.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"

namespace {

constexpr char16_t kArquivoIni[] = u"sistema_vorn.ini";
constexpr const char16_t* kProgramasDoSistema[] = {u"Pracel.exe", u"PracelDCL.exe",
                                                   u"SistemaVorn.exe"};

// The folder of the first of the system's programs that runs and can be read.
std::u16string DiretorioDoSistema() {
  for (const char16_t* programa : kProgramasDoSistema) {
    std::u16string pasta = GetDiretorioProcesso(GetProcessoId(programa));
    if (!pasta.empty()) return pasta;
  }
  return {};
}

}  // namespace

std::u16string ExtractFilePath(const std::u16string& path) {
  const size_t slash = path.rfind(u'/');
  return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash + 1);
}

std::uint32_t GetProcessoId(const std::u16string& Nome) {
  const std::u16string procurado = rtl::AsciiUpperCase(Nome);
  for (const os::ProcessEntry& processo : os::ProcessSnapshot())
    if (rtl::AsciiUpperCase(processo.ExeFile).find(procurado) != std::u16string::npos)
      return processo.Id;
  return 0;
}

std::u16string GetDiretorioProcesso(std::uint32_t ProcessoId) {
  const std::optional<std::u16string> caminho = os::ProcessExecutablePath(ProcessoId);
  return caminho ? ExtractFilePath(*caminho) : std::u16string();
}

bool ConectarPeloIni(db::TUniConnection& Conexao, const std::u16string& Arquivo) {
  if (!os::FileExists(Arquivo)) return false;
  try {
    {
      const ini::TIniFile ini(Arquivo);
      std::u16string servidor;
      std::int32_t porta = 0;
      TConfiguraConexaoBase::ServidorIPePorta(ini.ReadString(u"ip", u"local", u""), servidor, porta);
      Conexao.Server = servidor;
      Conexao.Port = porta;
      Conexao.Database = ini.ReadString(u"ip", u"database", u"gerente");
      Conexao.Username = u"root";
      Conexao.Password =
          Criptografia(u"D", ini.ReadString(u"ip", u"senha", u"5C08E71B9F6A0D3E2B47"), u"KWZ");
    }
    Conexao.Connect();
    return Conexao.Connected();
  } catch (const rtl::Exception&) {
    return false;
  }
}

bool ConectarBanco(db::TUniConnection& Conexao, const std::u16string& ExeName) {
  const std::u16string propria = ExtractFilePath(ExeName);
  if (!propria.empty() && ConectarPeloIni(Conexao, propria + kArquivoIni)) return true;
  const std::u16string pasta = DiretorioDoSistema();
  return !pasta.empty() && ConectarPeloIni(Conexao, pasta + kArquivoIni);
}

std::int32_t GetCodigoFilial(const std::u16string& ExeName) {
  std::u16string arquivo = ExtractFilePath(ExeName);
  if (!arquivo.empty()) arquivo += kArquivoIni;
  if (rtl::Trim(arquivo).empty()) {
    arquivo = DiretorioDoSistema();
    if (!arquivo.empty()) arquivo += kArquivoIni;
  }
  if (!os::FileExists(arquivo)) return -1;
  try {
    const ini::TIniFile ini(arquivo);
    return rtl::StrToIntDef(ini.ReadString(u"FilialMatriz", u"CodFisica", u""), -1);
  } catch (const rtl::Exception&) {
    return -1;
  }
}
