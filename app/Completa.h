// Filling texts to a width; lengths count 16-bit characters and nothing is cut.
#pragma once

#include <string>

// Caractere repeated (Tamanho - length) times, then Texto; Texto when not shorter.
std::u16string CompletaEsquerda(const std::u16string& Texto, const std::u16string& Caractere,
                                int Tamanho);
// Texto, then Caractere repeated (Tamanho - length) times.
std::u16string CompletaDireita(const std::u16string& Texto, const std::u16string& Caractere,
                               int Tamanho);
