// The scrambled text form in which the store system keeps its database
// password: a start offset and one value per character, in hexadecimal.
#pragma once

#include <cstdint>
#include <string>

// Acao "E" scrambles Texto, "D" restores it; any other Acao gives the empty
// text. Restoring fails with EConvertError "'%s' is not a valid integer
// value" when a group is missing or not hexadecimal. Chave must not be empty.
std::u16string Criptografia(const std::u16string& Acao, const std::u16string& Texto,
                            const std::u16string& Chave);

// Scrambling with a chosen start offset (0..255); Criptografia("E") draws it.
std::u16string Embaralhar(const std::u16string& Texto, const std::u16string& Chave,
                          std::uint8_t Inicio);
