// SPDX-License-Identifier: MIT
#include "shell/PanelLists.h"

#include "config/Tables.h"
#include "shell/Form1View.h"

#include <QComboBox>

namespace shell {

namespace {

void showText(QComboBox* combo, const QString& text) {
    const int position = combo->findText(text);
    combo->setCurrentIndex(position);
    if (position < 0)
        combo->setEditText(text);
}

void fillFrom(QComboBox* combo, const config::OptionTable& table) {
    combo->addItems(table.texts());
    combo->setCurrentIndex(-1); // nothing chosen until the operator or a sync reply chooses
}

void select(QComboBox* combo, const std::optional<int>& position) {
    if (position)
        combo->setCurrentIndex(*position);
}

} // namespace

void PanelLists::fill() const {
    namespace tables = config::tables;
    fillFrom(v.Combo1, tables::forwardPorts());
    v.Combo1->setCurrentIndex(0);
    fillFrom(v.Combo6, tables::baudRates());
    fillFrom(v.Combo8, tables::outputSwitch());
    for (int i = 0; i < protocol::frame::PortCount; ++i) {
        fillFrom(v.Combo2[i], tables::baudRates());
        fillFrom(v.Combo3[i], tables::dataBits());
        fillFrom(v.Combo4[i], tables::stopBits());
        fillFrom(v.Combo5[i], tables::parities());
        fillFrom(v.Combo7[i], tables::functions());
    }
}

void PanelLists::show(const protocol::PortConfiguration& c) const {
    namespace tables = config::tables;
    std::array<tables::LineCodes, protocol::frame::PortCount> line;
    for (int i = 0; i < protocol::frame::PortCount; ++i)
        line[i] = tables::decodeLineByte(c.ports[i].lineByte);
    // List by list, as the device's panels are read: main port, switch, then each field of every port.
    select(v.Combo6, tables::baudRates().positionOfCode(c.mainBaudCode));
    select(v.Combo8, tables::outputSwitch().positionOfCode(c.outputSwitch));
    for (int i = 0; i < protocol::frame::PortCount; ++i)
        select(v.Combo2[i], tables::baudRates().positionOfCode(c.ports[i].baudCode));
    for (int i = 0; i < protocol::frame::PortCount; ++i)
        select(v.Combo3[i], tables::dataBits().positionOfCode(line[i].dataBits));
    for (int i = 0; i < protocol::frame::PortCount; ++i)
        select(v.Combo4[i], tables::stopBits().positionOfCode(line[i].stopBits));
    for (int i = 0; i < protocol::frame::PortCount; ++i)
        select(v.Combo5[i], tables::parities().positionOfCode(line[i].parity));
    for (int i = 0; i < protocol::frame::PortCount; ++i)
        select(v.Combo7[i], tables::functions().positionOfCode(c.ports[i].functionCode));
}

config::PortPanels PanelLists::read() const {
    config::PortPanels panels;
    for (int i = 0; i < protocol::frame::PortCount; ++i)
        panels.ports[i] = {v.Combo2[i]->currentText(), v.Combo3[i]->currentText(), v.Combo4[i]->currentText(),
                           v.Combo5[i]->currentText(), v.Combo7[i]->currentText()};
    panels.mainBaud = v.Combo6->currentText();
    // The switch is read by position: the entry whose text the list shows.
    panels.outputSwitchPosition = v.Combo8->findText(v.Combo8->currentText());
    return panels;
}

void PanelLists::show(const config::PortPanels& panels) const {
    for (int i = 0; i < protocol::frame::PortCount; ++i) {
        const config::ExtensionPortTexts& port = panels.ports[i];
        showText(v.Combo2[i], port.baud);
        showText(v.Combo3[i], port.dataBits);
        showText(v.Combo4[i], port.stopBits);
        showText(v.Combo5[i], port.parity);
        showText(v.Combo7[i], port.function);
    }
    showText(v.Combo6, panels.mainBaud);
    v.Combo8->setCurrentIndex(panels.outputSwitchPosition);
}

void PanelLists::copyToAll(int index) const {
    config::PortPanels panels = read();
    const config::ExtensionPortTexts source = panels.ports[index];
    panels.ports.fill(source);
    show(panels); // the main port's lists show what they showed
}

QComboBox* PanelLists::list(config::ProfileDifference::Field field, int port) const {
    using Field = config::ProfileDifference::Field;
    const int i = port - 1;
    const bool extension = i >= 0 && i < protocol::frame::PortCount;
    switch (field) {
    case Field::Function:
        return extension ? v.Combo7[i] : nullptr;
    case Field::Baud:
        return extension ? v.Combo2[i] : nullptr;
    case Field::DataBits:
        return extension ? v.Combo3[i] : nullptr;
    case Field::StopBits:
        return extension ? v.Combo4[i] : nullptr;
    case Field::Parity:
        return extension ? v.Combo5[i] : nullptr;
    case Field::MainBaud:
        return v.Combo6;
    case Field::Output:
        return v.Combo8;
    case Field::Mac:
    case Field::Ip:
    case Field::Mask:
    case Field::Gateway:
        break;
    }
    return nullptr;
}

} // namespace shell
