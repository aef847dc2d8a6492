// svg.cpp: drawing scenes and panels as SVG.
#include "svg.h"

#include "report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace toolhost {

namespace {

const double box = 280;    // a view's square, in pixels
const double gap = 20;     // between views
const double margin = 20;  // around the picture
const double heading = 30; // a row's title
const double caption = 24; // a view's caption under it

const char *palette[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#ff7f0e", "#17becf", "#8c564b", "#e377c2"};

std::string num(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

std::string escaped(const std::string &text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string line(double x1, double y1, double x2, double y2, const std::string &style) {
    return "<line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2) + "\" y2=\"" + num(y2) + "\" " +
           style + "/>\n";
}

std::string text(double x, double y, const std::string &content, const std::string &style = "") {
    return "<text x=\"" + num(x) + "\" y=\"" + num(y) + "\"" + (style.empty() ? "" : " " + style) + ">" +
           escaped(content) + "</text>\n";
}

const host::View views[] = {host::View::front, host::View::top, host::View::side};

const char *captionOf(host::View view) {
    switch (view) {
    case host::View::top: return "top: X right, Z down";
    case host::View::side: return "side: Z right, Y up";
    case host::View::front: break;
    }
    return "front: X right, Y up";
}

// The rotation component a view shows as a turn: bank in front, heading
// from the top, pitch from the side.
std::size_t turnShown(host::View view) { return view == host::View::top ? 0 : view == host::View::side ? 1 : 2; }

// The screen coordinates (right, up) of a world point in a view, in units.
std::array<double, 2> screenUnits(host::View view, const host::Vec3 &p) {
    host::Viewport unit;
    unit.view = view;
    unit.pixelsPerUnit = 1;
    unit.centerX = unit.centerY = 0;
    double x = 0, y = 0, depth = 0;
    unit.project(p, x, y, depth);
    return {x, -y};
}

struct Bounds {
    double lo[2] = {INFINITY, INFINITY}, hi[2] = {-INFINITY, -INFINITY};
    void add(const std::array<double, 2> &p) {
        for (int k = 0; k < 2; ++k) {
            lo[k] = std::min(lo[k], p[k]);
            hi[k] = std::max(hi[k], p[k]);
        }
    }
    double centre(int k) const { return std::isfinite(lo[k]) ? (lo[k] + hi[k]) / 2 : 0.0; }
    double extent() const { return std::isfinite(lo[0]) ? std::max(hi[0] - lo[0], hi[1] - lo[1]) : 0.0; }
};

Bounds boundsOf(const Outcome &o, host::View view) {
    Bounds b;
    for (const ItemPose &item : o.items) {
        b.add(screenUnits(view, item.positionBefore));
        b.add(screenUnits(view, item.positionAfter));
    }
    for (const OriginMark &mark : o.origins)
        if (mark.view == view)
            b.add(screenUnits(view, mark.point));
    return b;
}

double gridOf(const Outcome &o, host::View view) {
    for (const ViewportSpec &v : o.viewports)
        if (v.view == view && v.grid > 0)
            return v.grid;
    return 1.0;
}

bool finite(const host::Vec3 &v) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

// One view of one outcome, in the square whose top left corner is (x0, y0).
std::string viewSvg(const Outcome &o, host::View view, double scale, double x0, double y0, const std::string &clipId) {
    const Bounds b = boundsOf(o, view);
    host::Viewport vp;
    vp.view = view;
    vp.pixelsPerUnit = scale;
    vp.centerX = x0 + box / 2 - b.centre(0) * scale;
    vp.centerY = y0 + box / 2 + b.centre(1) * scale;
    auto at = [&](const host::Vec3 &p) {
        double x = 0, y = 0, depth = 0;
        vp.project(p, x, y, depth);
        return std::array<double, 2>{x, y};
    };

    std::string out = "<clipPath id=\"" + clipId + "\"><rect x=\"" + num(x0) + "\" y=\"" + num(y0) + "\" width=\"" +
                      num(box) + "\" height=\"" + num(box) + "\"/></clipPath>\n";
    out += "<rect x=\"" + num(x0) + "\" y=\"" + num(y0) + "\" width=\"" + num(box) + "\" height=\"" + num(box) +
           "\" fill=\"#fbfbfb\" stroke=\"#999\"/>\n";
    out += "<g clip-path=\"url(#" + clipId + ")\">\n";

    // The grid, coarsened until its lines are at least 10 pixels apart; the
    // world axes darker.
    double grid = gridOf(o, view);
    while (grid * scale < 10)
        grid *= 2;
    const double left = b.centre(0) - box / 2 / scale, bottom = b.centre(1) - box / 2 / scale;
    for (int k = 0; k < 2; ++k) {
        const double from = k == 0 ? left : bottom;
        const double first = std::ceil(from / grid);
        if (!std::isfinite(first) || !std::isfinite(grid))
            continue; // a scene at the edge of the numbers gets no grid
        for (double n = first; n * grid <= from + box / scale && n < first + 64; ++n) {
            const double u = n * grid;
            const std::string style = n == 0 ? "stroke=\"#888\" stroke-width=\"1\"" : "stroke=\"#e4e4e4\" stroke-width=\"1\"";
            if (k == 0) {
                const double x = vp.centerX + u * scale;
                out += line(x, y0, x, y0 + box, style);
            } else {
                const double y = vp.centerY - u * scale;
                out += line(x0, y, x0 + box, y, style);
            }
        }
    }

    for (const OriginMark &mark : o.origins)
        if (mark.view == view && finite(mark.point)) {
            const auto p = at(mark.point);
            const std::string style = "stroke=\"#c00\" stroke-width=\"2\"";
            out += line(p[0] - 8, p[1], p[0] + 8, p[1], style) + line(p[0], p[1] - 8, p[0], p[1] + 8, style);
        }

    std::size_t index = 0;
    for (const ItemPose &item : o.items) {
        const std::string marker = item.selected ? std::to_string(index % std::size(palette)) : "grey";
        const std::string colour = item.selected ? palette[index++ % std::size(palette)] : "#aaa";
        if (!finite(item.positionBefore) || !finite(item.positionAfter))
            continue;
        const auto from = at(item.positionBefore), to = at(item.positionAfter);
        if (std::hypot(to[0] - from[0], to[1] - from[1]) > 8)
            out += line(from[0], from[1], to[0], to[1],
                        "stroke=\"" + colour + "\" stroke-width=\"1.5\" marker-end=\"url(#arrow-" + marker + ")\"");
        out += "<circle cx=\"" + num(from[0]) + "\" cy=\"" + num(from[1]) + "\" r=\"5\" fill=\"none\" stroke=\"" +
               colour + "\" stroke-width=\"1.5\"/>\n";
        out += "<circle cx=\"" + num(to[0]) + "\" cy=\"" + num(to[1]) + "\" r=\"4\" fill=\"" + colour + "\"/>\n";
        const std::size_t turn = turnShown(view);
        if (item.rotationBefore[turn] != item.rotationAfter[turn]) {
            auto tick = [&](double angle, const std::string &style) {
                if (std::isfinite(angle))
                    out += line(to[0], to[1], to[0] + 24 * std::cos(angle), to[1] - 24 * std::sin(angle),
                                "stroke=\"" + colour + "\" stroke-width=\"1.5\" " + style);
            };
            tick(item.rotationBefore[turn], "stroke-dasharray=\"3 2\" opacity=\"0.6\"");
            tick(item.rotationAfter[turn], "");
        }
        out += text(to[0] + 7, to[1] + 15, item.name, "font-size=\"11\" fill=\"" + colour + "\"");
    }
    out += "</g>\n";
    out += text(x0, y0 + box + 16, captionOf(view), "font-size=\"11\" fill=\"#555\"");
    return out;
}

// An SVG document of the given size in user units, shown `zoom` times as large.
std::string document(double width, double height, const std::string &body, double zoom = 1) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(width * zoom) + "\" height=\"" + num(height * zoom) +
           "\" viewBox=\"0 0 " + num(width) + " " + num(height) + "\" font-family=\"sans-serif\">\n"
           "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n" + body + "</svg>\n";
}

} // namespace

std::string sceneSvg(const std::vector<Outcome> &outcomes) {
    const double width = 2 * margin + 3 * box + 2 * gap;
    const double rowHeight = heading + box + caption;
    // An arrowhead in each item colour.
    std::string body = "<defs>\n";
    for (std::size_t i = 0; i <= std::size(palette); ++i) {
        const bool grey = i == std::size(palette);
        body += "<marker id=\"arrow-" + (grey ? std::string("grey") : std::to_string(i)) +
                "\" viewBox=\"0 0 10 10\" refX=\"9\" refY=\"5\" markerWidth=\"7\" markerHeight=\"7\" "
                "orient=\"auto\"><path d=\"M 0 0 L 10 5 L 0 10 z\" fill=\"" +
                (grey ? std::string("#aaa") : palette[i]) + "\"/></marker>\n";
    }
    body += "</defs>\n";
    double y = margin;
    std::size_t row = 0;
    for (const Outcome &o : outcomes) {
        // One scale for the three views of a row, so they can be compared.
        double extent = 2.0;
        for (host::View view : views)
            extent = std::max(extent, boundsOf(o, view).extent());
        if (!std::isfinite(extent))
            extent = 2.0;
        const double scale = (box - 60) / extent;
        body += text(margin, y + 18, o.title + "  |  " + o.server + "  |  time " + formatNumber(o.time),
                     "font-size=\"14\" font-weight=\"bold\"");
        for (std::size_t v = 0; v < 3; ++v)
            body += viewSvg(o, views[v], scale, margin + static_cast<double>(v) * (box + gap), y + heading,
                            "view" + std::to_string(row) + "_" + std::to_string(v));
        y += rowHeight + gap;
        ++row;
    }
    body += text(margin, y + 4,
                 "hollow: before  |  filled: after  |  red cross: the tool's origin  |  "
                 "ticks: the turn about the view's depth axis, dashed before  |  grey: not selected",
                 "font-size=\"11\" fill=\"#555\"");
    return document(width, y + 4 + margin, body);
}

std::string panelSvg(const host::Panel &panel) {
    double right = panel.width, bottom = panel.height;
    for (const host::Control &c : panel.controls) {
        right = std::max(right, static_cast<double>(c.x + c.width));
        bottom = std::max(bottom, static_cast<double>(c.y + c.height));
    }
    const double top = margin + heading + 10;
    std::string body = text(margin, margin + 14, panel.title, "font-size=\"14\" font-weight=\"bold\"");
    body += text(margin, margin + 30,
                 "dashed: " + std::to_string(panel.width) + " x " + std::to_string(panel.height) +
                     " pixels, the size the tool sets",
                 "font-size=\"10\" fill=\"#555\"");
    body += "<rect x=\"" + num(margin) + "\" y=\"" + num(top) + "\" width=\"" + num(panel.width) + "\" height=\"" +
            num(panel.height) + "\" fill=\"#f4f4f4\" stroke=\"#666\" stroke-dasharray=\"4 3\"/>\n";
    const struct {
        const char *type, *fill;
    } fills[] = {{"ChoiceControl", "#dbe9f6"}, {"TextControl", "#eeeeee"}, {"FloatControl", "#ffffff"},
                 {"DragButtonControl", "#f6e3c6"}, {"ButtonControl", "#d8efd3"}, {"InfoControl", "#f1f1d0"},
                 {"LWListControl", "#e8dcf2"}};
    for (const host::Control &c : panel.controls) {
        const char *fill = "#ffffff";
        for (const auto &f : fills)
            if (c.typeName == f.type)
                fill = f.fill;
        const double x = margin + c.x, y = top + c.y;
        body += "<g><title>" + escaped(c.typeName + " \"" + c.label + "\" at " + std::to_string(c.x) + ", " +
                                       std::to_string(c.y) + ", " + std::to_string(c.width) + " x " +
                                       std::to_string(c.height)) + "</title>\n";
        body += "<rect x=\"" + num(x) + "\" y=\"" + num(y) + "\" width=\"" + num(c.width) + "\" height=\"" +
                num(c.height) + "\" fill=\"" + fill + "\" fill-opacity=\"0.85\" stroke=\"#333\"/>\n";
        std::string label = c.label.empty() ? (c.typeName == "DragButtonControl" ? "<>" : "") : trimmed(c.label);
        if (c.typeName == "ChoiceControl" && c.integer >= 0 && static_cast<std::size_t>(c.integer) < c.entries.size())
            label += ": " + c.entries[static_cast<std::size_t>(c.integer)];
        else if (c.typeName == "FloatControl")
            label += " " + formatNumber(c.number);
        else if (c.typeName == "LWListControl")
            label = "(item list)";
        body += text(x + 3, y + std::min(13.0, c.height - 3.0), label, "font-size=\"10\"") + "</g>\n";
    }
    body += text(margin, top + bottom + 18, "choice blue, float field white, drag button orange, button green,",
                 "font-size=\"10\" fill=\"#555\"");
    body += text(margin, top + bottom + 31, "info field yellow, heading grey, item list violet",
                 "font-size=\"10\" fill=\"#555\"");
    return document(std::max(2 * margin + right, 360.0), top + bottom + 31 + margin, body, 2);
}

} // namespace toolhost
