#include "app/Completa.h"

namespace {

std::u16string Repeat(const std::u16string& piece, long long times) {
  std::u16string out;
  for (long long i = 0; i < times; ++i) out += piece;
  return out;
}

long long Missing(const std::u16string& Texto, int Tamanho) {
  return static_cast<long long>(Tamanho) - static_cast<long long>(Texto.size());
}

}  // namespace

std::u16string CompletaEsquerda(const std::u16string& Texto, const std::u16string& Caractere,
                                int Tamanho) {
  return Repeat(Caractere, Missing(Texto, Tamanho)) + Texto;
}

std::u16string CompletaDireita(const std::u16string& Texto, const std::u16string& Caractere,
                               int Tamanho) {
  return Texto + Repeat(Caractere, Missing(Texto, Tamanho));
}
