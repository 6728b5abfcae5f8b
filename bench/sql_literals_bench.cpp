// StringToSql against the C client's mysql_real_escape_string on the same
// texts (UTF-16 for ours, UTF-8 for the client), and FloatToStrEx against
// snprintf("%.15g") on the same doubles.
#include <benchmark/benchmark.h>
#include <mysql.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Lib/UtilDB.h"
#include "platform/rtl/Text.h"

namespace {

constexpr std::size_t kKiB = 1024;
constexpr std::size_t kMiB = 1024 * 1024;

// Store text: mostly ASCII words with accented letters now and then.
std::u16string OrdinaryText(std::size_t length) {
  static const std::u16string kWords[] = {
      u"pre\u00e7o ",       u"promo\u00e7\u00e3o ", u"filial ",   u"produto ",
      u"laborat\u00f3rio ", u"cota\u00e7\u00e3o ",  u"desconto ", u"12,50 "};
  std::mt19937 random(7);
  std::u16string text;
  while (text.size() < length) text += kWords[random() % std::size(kWords)];
  text.resize(length);
  return text;
}

// Every other character needs an escape.
std::u16string DenseText(std::size_t length) {
  static const char16_t kEscaped[] = {u'\'', u'"', u'\\', u'\n', u'\r', u'\0', u'\x1a'};
  std::mt19937 random(11);
  std::u16string text(length, u'x');
  for (std::size_t i = 0; i < length; i += 2) text[i] = kEscaped[random() % std::size(kEscaped)];
  return text;
}

std::u16string Input(int kind, std::size_t length) {
  return kind == 0 ? OrdinaryText(length) : DenseText(length);
}

void BM_StringToSql(benchmark::State& state) {
  const std::u16string text = Input(static_cast<int>(state.range(0)), state.range(1));
  for (auto _ : state) benchmark::DoNotOptimize(TUtilDB::StringToSql(text));
  state.SetItemsProcessed(state.iterations() * text.size());
}

void BM_MysqlRealEscapeString(benchmark::State& state) {
  const std::string text =
      rtl::Utf16ToUtf8(Input(static_cast<int>(state.range(0)), state.range(1)));
  // An unconnected handle already carries the client's default utf8mb4 charset,
  // the connection charset of this system.
  const std::unique_ptr<MYSQL, decltype(&mysql_close)> mysql(mysql_init(nullptr), &mysql_close);
  if (std::strcmp(mysql_character_set_name(mysql.get()), "utf8mb4") != 0) {
    state.SkipWithError("client charset is not utf8mb4");
    return;
  }
  std::string out(text.size() * 2 + 1, '\0');
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        mysql_real_escape_string(mysql.get(), out.data(), text.data(), text.size()));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(1));
}

// kind (0 ordinary, 1 dense) x length in characters.
void TextSizes(benchmark::internal::Benchmark* b) {
  for (int kind : {0, 1})
    for (std::int64_t length : {kKiB, kMiB}) b->Args({kind, length});
  b->ArgNames({"dense", "chars"});
}

BENCHMARK(BM_StringToSql)->Apply(TextSizes);
BENCHMARK(BM_MysqlRealEscapeString)->Apply(TextSizes);

// Doubles across magnitudes: prices, fractions, and random values from 1e-300 to 1e300.
std::vector<double> Doubles() {
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> mantissa(1, 10);
  std::uniform_int_distribution<int> exponent(-300, 300);
  std::vector<double> values;
  for (int i = 0; i < 1024; ++i) {
    switch (i % 4) {
      case 0:
        values.push_back(std::round(mantissa(random) * 1000) / 100);
        break;
      case 1:
        values.push_back(1.0 / (i + 3));
        break;
      default:
        values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
        break;
    }
  }
  return values;
}

void BM_FloatToStrEx(benchmark::State& state) {
  const std::vector<double> values = Doubles();
  for (auto _ : state)
    for (const double value : values) benchmark::DoNotOptimize(TUtilDB::FloatToStrEx(value));
  state.SetItemsProcessed(state.iterations() * values.size());
}

void BM_Snprintf15g(benchmark::State& state) {
  const std::vector<double> values = Doubles();
  char text[32];
  for (auto _ : state)
    for (const double value : values) {
      benchmark::DoNotOptimize(std::snprintf(text, sizeof text, "%.15g", value));
      benchmark::ClobberMemory();
    }
  state.SetItemsProcessed(state.iterations() * values.size());
}

BENCHMARK(BM_FloatToStrEx);
BENCHMARK(BM_Snprintf15g);

}  // namespace
