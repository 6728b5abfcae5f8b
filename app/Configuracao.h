// Finding the store system's sistema_vorn.ini and connecting with it.
#pragma once

#include <cstdint>
#include <string>

namespace db {
class TUniConnection;
}

// The folder part of a path, with its trailing "/"; empty when there is none.
std::u16string ExtractFilePath(const std::u16string& path);

// Id of the first running process (ascending ids) whose executable file name,
// ASCII upper-cased, contains Nome upper-cased; 0 when none does.
std::uint32_t GetProcessoId(const std::u16string& Nome);

// Folder of the process's executable with a trailing "/"; empty when the
// process cannot be opened. Fails with EOSError when it was opened but its
// path cannot be read.
std::u16string GetDiretorioProcesso(std::uint32_t ProcessoId);

// Configures Conexao from one sistema_vorn.ini and connects. True when
// connected; every failure (no file, bad password text, refused connection)
// gives false and nothing else.
bool ConectarPeloIni(db::TUniConnection& Conexao, const std::u16string& Arquivo);

// The file in the program's own folder first; when that does not connect,
// the file beside the first running "Pracel.exe", "PracelDCL.exe" or
// "SistemaVorn.exe" whose folder can be read. At most two attempts.
bool ConectarBanco(db::TUniConnection& Conexao, const std::u16string& ExeName);

// [FilialMatriz] CodFisica of the own folder's file, or -1.
std::int32_t GetCodigoFilial(const std::u16string& ExeName);
