// report.cpp: the tables toolhost prints and the JSON it gives with --json.
#include "report.h"

#include <cmath>
#include <cstdio>

namespace toolhost {

using nlohmann::json;

std::string alignedTable(const std::vector<std::vector<std::string>> &rows, const std::vector<bool> &right) {
    std::vector<std::size_t> widths;
    for (const auto &row : rows)
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (widths.size() <= c)
                widths.push_back(0);
            widths[c] = std::max(widths[c], row[c].size());
        }
    std::string out;
    for (const auto &row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::string padding(widths[c] - row[c].size(), ' ');
            const bool toRight = c < right.size() && right[c];
            line += (c ? "  " : "") + (toRight ? padding + row[c] : row[c] + padding);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + "\n";
    }
    return out;
}

std::string formatNumber(double value) {
    char text[64];
    // Six decimals read best for scene values; beyond 1e15 they would only
    // add noise digits, so the exponent form takes over.
    std::snprintf(text, sizeof text, std::fabs(value) < 1e15 ? "%.6f" : "%.6g", value);
    std::string out = text;
    if (out.find_first_not_of("-0.") == std::string::npos && out[0] == '-')
        out.erase(0, 1);
    return out;
}

namespace {

std::string shown(const KeyAt &k) { return k.keyed ? formatNumber(k.value) : "(" + formatNumber(k.value) + ")"; }

std::string fieldText(const FieldValue &f) {
    if (f.kind == "float")
        return formatNumber(*f.number);
    if (f.kind == "choice")
        return f.text + " (" + std::to_string(static_cast<long>(*f.number)) + ")";
    return f.text;
}

std::string fieldName(const FieldValue &f) {
    const std::string name = f.label.empty() ? "(no label)" : f.label;
    return f.nth > 1 ? name + " #" + std::to_string(f.nth) : name;
}

json keyJson(const KeyAt &k) { return {{"key", k.keyed}, {"value", k.value}}; }

} // namespace

std::string textReport(const Outcome &outcome) {
    std::string out = alignedTable({{"Scenario", outcome.title},
                                    {"Module", outcome.server + " (" + outcome.modulePath + ")"},
                                    {"Time", formatNumber(outcome.time)}});
    std::vector<std::vector<std::string>> rows{{"item", "channel", "before", "after", "key"}};
    for (const ChannelChange &c : outcome.channels)
        rows.push_back({c.item, c.channel, shown(c.before), shown(c.after), changeName(c)});
    out += "\n" + alignedTable(rows, {false, false, true, true, false});
    out += "A value in parentheses has no key at this time: it is the value the channel has there anyway.\n";
    if (outcome.panel) {
        out += "\nPanel \"" + outcome.panel->title + "\"" + (outcome.panel->open ? "" : " (closed)") + "\n";
        std::vector<std::vector<std::string>> fields;
        for (const FieldValue &f : outcome.panel->fields)
            fields.push_back({"  " + fieldName(f), f.kind, fieldText(f)});
        out += alignedTable(fields);
    }
    return out;
}

json jsonReport(const Outcome &outcome) {
    json channels = json::array();
    for (const ChannelChange &c : outcome.channels)
        channels.push_back({{"item", c.item},
                            {"channel", c.channel},
                            {"before", keyJson(c.before)},
                            {"after", keyJson(c.after)},
                            {"change", changeName(c)}});
    json out = {{"scenario", outcome.title},
                {"module", outcome.modulePath},
                {"server", outcome.server},
                {"time", outcome.time},
                {"channels", channels}};
    if (outcome.panel) {
        json fields = json::array();
        for (const FieldValue &f : outcome.panel->fields) {
            json field = {{"label", f.label}, {"nth", f.nth}, {"kind", f.kind}};
            if (f.kind == "float")
                field["value"] = *f.number;
            else if (f.kind == "choice")
                field.update({{"value", static_cast<long>(*f.number)}, {"entry", f.text}});
            else
                field["value"] = f.text;
            fields.push_back(field);
        }
        out["panel"] = {{"title", outcome.panel->title}, {"open", outcome.panel->open}, {"fields", fields}};
    }
    return out;
}

std::string controlsTable(const host::Panel &panel) {
    std::string out = "Panel \"" + panel.title + "\", " + std::to_string(panel.width) + " x " +
                      std::to_string(panel.height) + " pixels as the tool sets it\n\n";
    std::vector<std::vector<std::string>> rows{{"#", "label", "type", "x", "y", "width", "height"}};
    int n = 0;
    for (const host::Control &c : panel.controls)
        rows.push_back({std::to_string(++n), "\"" + c.label + "\"", c.typeName, std::to_string(c.x), std::to_string(c.y),
                        std::to_string(c.width), std::to_string(c.height)});
    return out + alignedTable(rows, {true, false, false, true, true, true, true});
}

} // namespace toolhost
