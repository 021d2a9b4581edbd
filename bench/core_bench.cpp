// SPDX-License-Identifier: MIT
// Throughput of the protocol and configuration core, in frames per second.
#include "config/NetworkFrame.h"
#include "config/PortSetFrame.h"
#include "protocol/ForwardFrame.h"
#include "protocol/HexText.h"
#include "protocol/ReplyDecoder.h"

#include <benchmark/benchmark.h>

#include <variant>

namespace bench {
namespace {

QByteArray portConfigurationReply() {
    return QByteArray::fromHex("401CFB") + QByteArray::fromHex("080302").repeated(8) +
           QByteArray::fromHex("0801") + QByteArray::fromHex("23");
}

config::PortPanels standardPanels() {
    config::PortPanels panels;
    for (config::ExtensionPortTexts& port : panels.ports)
        port = {QStringLiteral("9600"), QStringLiteral("8"), QStringLiteral("1"), QStringLiteral("无"),
                QStringLiteral("RS232")};
    panels.mainBaud = QStringLiteral("115200");
    panels.outputSwitchPosition = 0;
    return panels;
}

config::OctetTexts networkBoxes() {
    const int octets[] = {0, 8, 220, 1, 2, 3, 192, 168, 1, 100, 255, 255, 255, 0, 192, 168, 1, 1};
    config::OctetTexts boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = QString::number(octets[i]);
    return boxes;
}

// One burst holding the given replies back to back; every frame in it counts as one item.
void decodeBurst(benchmark::State& state, const QByteArray& burst, int frames) {
    if (protocol::decodeBurst(burst).size() != std::size_t(frames)) {
        state.SkipWithError("the burst does not split into the expected frames");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(protocol::decodeBurst(burst));
    state.SetItemsProcessed(state.iterations() * frames);
}

void BM_decodeBurst_confirmation(benchmark::State& state) {
    decodeBurst(state, QByteArray::fromHex("4002E123"), 1);
}
BENCHMARK(BM_decodeBurst_confirmation);

void BM_decodeBurst_portConfiguration(benchmark::State& state) {
    decodeBurst(state, portConfigurationReply(), 1);
}
BENCHMARK(BM_decodeBurst_portConfiguration);

void BM_decodeBurst_eightConfirmations(benchmark::State& state) {
    decodeBurst(state, QByteArray::fromHex("4002E223").repeated(8), 8);
}
BENCHMARK(BM_decodeBurst_eightConfirmations);

void BM_parseHexFrame_portSet(benchmark::State& state) {
    const auto built = config::PortSetFrame::build(standardPanels());
    const QString text = built.value();
    for (auto _ : state)
        benchmark::DoNotOptimize(protocol::parseHexFrame(text));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_parseHexFrame_portSet);

void BM_ForwardFrame_build(benchmark::State& state) {
    const QString command = QStringLiteral("01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f 10");
    const QString port = QStringLiteral("3");
    if (!protocol::ForwardFrame::build(command, port)) {
        state.SkipWithError("the console text does not build");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(protocol::ForwardFrame::build(command, port));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ForwardFrame_build);

void BM_PortSetFrame_build(benchmark::State& state) {
    const config::PortPanels panels = standardPanels();
    if (!config::PortSetFrame::build(panels).ok()) {
        state.SkipWithError("the panels do not build");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(config::PortSetFrame::build(panels));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PortSetFrame_build);

void BM_NetworkFrame_build(benchmark::State& state) {
    const config::OctetTexts boxes = networkBoxes();
    if (!config::NetworkFrame::build(boxes).ok()) {
        state.SkipWithError("the boxes do not build");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(config::NetworkFrame::build(boxes));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NetworkFrame_build);

} // namespace
} // namespace bench

BENCHMARK_MAIN();
