// Cost of a link in a deferred chain against a plain virtual call, and the throughput of
// the two real conversions. Prints figures; never passes or fails.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "convert.h"
#include "event.h"

namespace {

constexpr std::size_t chainLength = 10000;

struct ChainLink {
  TNd_Event onNext;
  std::int32_t seen = 0;
  void doForward(TData& d, std::uint16_t) {
    seen += d.IntValue;
    DeferEvent(d, onNext);
  }
};

struct Callee {
  virtual ~Callee() = default;
  virtual void doForward(TData& d, std::uint16_t index) = 0;
};

struct CalleeImpl final : Callee {
  std::int32_t seen = 0;
  Callee* next = nullptr;
  void doForward(TData& d, std::uint16_t) override { seen += d.IntValue; }
};

std::vector<std::unique_ptr<Callee>> makeCallees() {
  std::vector<std::unique_ptr<Callee>> callees;
  for (std::size_t i = 0; i < chainLength; ++i) callees.push_back(std::make_unique<CalleeImpl>());
  for (std::size_t i = 0; i + 1 < chainLength; ++i) {
    static_cast<CalleeImpl*>(callees[i].get())->next = callees[i + 1].get();
  }
  return callees;
}

// The same calls, but each callee is found through the one before it, as the links of a
// chain are: this pays the same dependent loads the dispatcher does.
void callAlongList(Callee* first, TData& d) {
  for (Callee* c = first; c != nullptr; c = static_cast<CalleeImpl*>(c)->next) c->doForward(d, 0);
}

void BM_DeferredChain(benchmark::State& state) {
  InstallDispatchers();
  std::vector<ChainLink> chain(chainLength);
  for (std::size_t i = 0; i + 1 < chainLength; ++i) {
    chain[i].onNext = MakeEvent<&ChainLink::doForward>(&chain[i + 1], 0);
  }
  const TNd_Event start = MakeEvent<&ChainLink::doForward>(&chain[0], 0);
  for (auto _ : state) {
    RaiseInteger(start, 1);
    benchmark::DoNotOptimize(chain.back().seen);
  }
  state.SetItemsProcessed(state.iterations() * chainLength);
  state.counters["ns_per_link"] = benchmark::Counter(
      static_cast<double>(state.iterations() * chainLength),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  RemoveDispatchers();
}
BENCHMARK(BM_DeferredChain);

void BM_VirtualCalls(benchmark::State& state) {
  const auto callees = makeCallees();
  TData d;
  MakeInteger(d, 1);
  for (auto _ : state) {
    for (auto& c : callees) c->doForward(d, 0);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * chainLength);
  state.counters["ns_per_link"] = benchmark::Counter(
      static_cast<double>(state.iterations() * chainLength),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_VirtualCalls);

void BM_VirtualCallsAlongAList(benchmark::State& state) {
  const auto callees = makeCallees();
  TData d;
  MakeInteger(d, 1);
  for (auto _ : state) {
    callAlongList(callees.front().get(), d);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * chainLength);
  state.counters["ns_per_link"] = benchmark::Counter(
      static_cast<double>(state.iterations() * chainLength),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_VirtualCallsAlongAList);

constexpr std::size_t conversionCount = 1000000;

std::vector<double> randomReals() {
  std::mt19937_64 random(20240601);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> exponent(-12, 12);
  std::vector<double> values(conversionCount);
  for (double& v : values) v = mantissa(random) * std::pow(10.0, exponent(random));
  return values;
}

void BM_RealToStr(benchmark::State& state) {
  const std::vector<double> values = randomReals();
  for (auto _ : state) {
    for (double v : values) benchmark::DoNotOptimize(RealToStr(v));
  }
  state.counters["conversions_per_s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * conversionCount), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RealToStr)->Unit(benchmark::kMillisecond);

void BM_StrToReal(benchmark::State& state) {
  std::vector<AnsiString> texts;
  texts.reserve(conversionCount);
  for (double v : randomReals()) texts.push_back(RealToStr(v));
  for (auto _ : state) {
    for (const AnsiString& t : texts) benchmark::DoNotOptimize(StrToReal(t));
  }
  state.counters["conversions_per_s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * conversionCount), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StrToReal)->Unit(benchmark::kMillisecond);

// The ratio needs both figures from one run, so it is measured once more outside the
// framework and printed after its table.
double nanosecondsPerLink(void (*body)(), int repetitions) {
  double best = 1e300;
  for (int r = 0; r < repetitions; ++r) {
    const auto begin = std::chrono::steady_clock::now();
    body();
    const auto end = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::nano>(end - begin).count());
  }
  return best / chainLength;
}

std::vector<ChainLink>* ratioChain = nullptr;
std::vector<std::unique_ptr<Callee>>* ratioCallees = nullptr;

void printChainRatio() {
  std::vector<ChainLink> chain(chainLength);
  for (std::size_t i = 0; i + 1 < chainLength; ++i) {
    chain[i].onNext = MakeEvent<&ChainLink::doForward>(&chain[i + 1], 0);
  }
  auto callees = makeCallees();
  ratioChain = &chain;
  ratioCallees = &callees;
  InstallDispatchers();
  const double chainNs = nanosecondsPerLink(
      [] { RaiseInteger(MakeEvent<&ChainLink::doForward>(ratioChain->data(), 0), 1); }, 200);
  const double virtualNs = nanosecondsPerLink(
      [] {
        TData d;
        MakeInteger(d, 1);
        for (auto& c : *ratioCallees) c->doForward(d, 0);
        benchmark::ClobberMemory();
      },
      200);
  const double listNs = nanosecondsPerLink(
      [] {
        TData d;
        MakeInteger(d, 1);
        callAlongList(ratioCallees->front().get(), d);
        benchmark::ClobberMemory();
      },
      200);
  RemoveDispatchers();
  std::printf("deferred chain: %.2f ns per link; virtual call loop: %.2f ns per call, ratio %.2fx;"
              " virtual calls along a list: %.2f ns per call, ratio %.2fx\n",
              chainNs, virtualNs, chainNs / virtualNs, listNs, chainNs / listNs);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  printChainRatio();
  return 0;
}
