// SPDX-License-Identifier: MIT
#pragma once

#include "config/PortPanels.h"
#include "config/ProfileDiff.h"
#include "protocol/Reply.h"

class QComboBox;

namespace shell {

struct Form1View;

// The port panels' lists, where the option tables and the lists meet: filled from the tables, set from
// the codes of a port-sync reply, read into the texts the port-set frame is built from, shown from
// such texts, copied from one panel to the others, and found by the field a comparison names.
class PanelLists {
public:
    explicit PanelLists(const Form1View& view) : v(view) {}

    // Every list of the panels and the forward-port list with its entries; only the forward port
    // gets a selection (its first entry).
    void fill() const;
    // Each list takes the entry of its code; a code that matches no entry leaves the list as it was.
    void show(const protocol::PortConfiguration& configuration) const;

    config::PortPanels read() const;
    // Each list shows its text: the entry when it is one, typed in otherwise; the output switch is
    // selected by position (none for -1).
    void show(const config::PortPanels& panels) const;
    // The other seven extension-port panels take the five texts of panel `index` (0..7).
    void copyToAll(int index) const;
    // The list that shows the field; nullptr for the network parameters, which no panel shows.
    QComboBox* list(config::ProfileDifference::Field field, int port) const;

private:
    const Form1View& v;
};

} // namespace shell
