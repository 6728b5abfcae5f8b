#include "app/Criptografia.h"

#include <chrono>
#include <random>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Text.h"

namespace {

std::u16string Hex2(unsigned value) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string out;
  do {
    out.insert(out.begin(), kDigits[value % 16]);
    value /= 16;
  } while (value);
  while (out.size() < 2) out.insert(out.begin(), u'0');
  return out;
}

void RequireKey(const std::u16string& Chave) {
  if (Chave.empty()) throw rtl::Exception(u"The scrambling key must not be empty");
}

// A group read as "$" + group: one or two hexadecimal digits.
unsigned ReadGroup(const std::u16string& Texto, size_t first) {
  const std::u16string group = first < Texto.size() ? Texto.substr(first, 2) : std::u16string();
  return static_cast<unsigned>(rtl::StrToInt(u"$" + group));
}

std::u16string Restaurar(const std::u16string& Texto, const std::u16string& Chave) {
  RequireKey(Chave);
  unsigned previous = ReadGroup(Texto, 0);
  std::u16string out;
  size_t key = 0;
  size_t position = 3;  // 1-based, as the stored form counts
  do {
    const unsigned pair = ReadGroup(Texto, position - 1);
    const unsigned d = pair ^ Chave[key];
    key = (key + 1) % Chave.size();
    const unsigned code = previous < d ? d - previous : d + 255 - previous;
    out += static_cast<char16_t>(code);
    previous = pair;
    position += 2;
  } while (position < Texto.size());
  return out;
}

}  // namespace

std::u16string Embaralhar(const std::u16string& Texto, const std::u16string& Chave,
                          std::uint8_t Inicio) {
  RequireKey(Chave);
  std::u16string out = Hex2(Inicio);
  unsigned previous = Inicio;
  size_t key = 0;
  for (const char16_t c : Texto) {
    const unsigned value = ((previous + c) % 255) ^ Chave[key];
    key = (key + 1) % Chave.size();
    out += Hex2(value);
    previous = value;
  }
  return out;
}

std::u16string Criptografia(const std::u16string& Acao, const std::u16string& Texto,
                            const std::u16string& Chave) {
  if (Acao == u"E") {
    // Reseeded from the clock at every call; restoring reads the offset back.
    std::mt19937 generator(
        static_cast<unsigned>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    return Embaralhar(Texto, Chave, static_cast<std::uint8_t>(
                                        std::uniform_int_distribution<int>(0, 255)(generator)));
  }
  if (Acao == u"D") return Restaurar(Texto, Chave);
  return {};
}
