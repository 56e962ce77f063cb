#include <benchmark/benchmark.h>

#include <string>

#include "app/analysis/LineParser.h"

namespace orvale {
namespace {

// Reads a few thousand fringe-centre lines the way the keyword readers do: each line
// taken apart into its key and two values.
void BM_TokeniseCentreLines(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  std::string text;
  for (int i = 0; i < lines; ++i) text += "Center, 12.5, 40\r\n";
  for (auto _ : state) {
    StringLineSource source(text);
    clsParser parser;
    double sum = 0;
    while (parser.Readline(source)) {
      parser.GetToken();
      sum += TokenAsReal(parser.GetToken());
      sum += TokenAsReal(parser.GetToken());
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(BM_TokeniseCentreLines)->Arg(4000);

}  // namespace
}  // namespace orvale
