#include "lv2/turtle_writer.h"

#include <cstdio>
#include <sstream>

#include "lv2/port_layout.h"
#include "lv2/ui_uri.h"
#include "plugin/product.h"

namespace {

constexpr const char* kPrefixes =
    "@prefix atom:   <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix doap:   <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf:   <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2:    <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix pprops: <http://lv2plug.in/ns/ext/port-props#> .\n"
    "@prefix rdf:    <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs:   <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix rsz:    <http://lv2plug.in/ns/ext/resize-port#> .\n"
    "@prefix time:   <http://lv2plug.in/ns/ext/time#> .\n"
    "@prefix ui:     <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix units:  <http://lv2plug.in/ns/extensions/units#> .\n"
    "@prefix urid:   <http://lv2plug.in/ns/ext/urid#> .\n\n";

/// Room the host gives the panel data's sequence, at the least: pieces of the loudness
/// history fit it a few thousand points at a time.
constexpr int kPanelDataBytes = 16384;

/// A Turtle string literal.
std::string quoted(const std::string& text) {
    std::string literal = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            literal += '\\';
        }
        literal += c;
    }
    return literal + "\"";
}

/// A Turtle decimal: digits on both sides of the point, no exponent.
std::string decimal(double value) {
    char text[64];
    std::snprintf(text, sizeof(text), "%.6f", value);
    std::string number = text;
    while (number.back() == '0' && number[number.size() - 2] != '.') {
        number.pop_back();
    }
    return number == "-0.0" ? "0.0" : number;
}

void writeAudioPorts(std::ostringstream& out) {
    const char* names[] = {"Left in", "Right in", "Left out", "Right out"};
    const char* symbols[] = {"in_left", "in_right", "out_left", "out_right"};
    for (std::uint32_t port = 0; port < PortLayout::kFirstControl; ++port) {
        const bool input = port < PortLayout::kAudioOutputs;
        out << "        [\n            a lv2:" << (input ? "Input" : "Output")
            << "Port , lv2:AudioPort ;\n            lv2:index " << port
            << " ;\n            lv2:symbol " << quoted(symbols[port]) << " ;\n            lv2:name "
            << quoted(names[port]) << " ;\n        ] ,\n";
    }
}

void writeControlPort(std::ostringstream& out, std::uint32_t index, const ControlPort& port) {
    out << "        [\n            a lv2:" << (port.output ? "Output" : "Input")
        << "Port , lv2:ControlPort ;\n            lv2:index " << index
        << " ;\n            lv2:symbol " << quoted(port.symbol) << " ;\n            lv2:name "
        << quoted(port.name) << " ;\n";
    if (!port.output) {
        out << "            lv2:default " << decimal(port.defaultValue) << " ;\n";
    }
    out << "            lv2:minimum " << decimal(port.minimum) << " ;\n            lv2:maximum "
        << decimal(port.maximum) << " ;\n";
    if (port.trigger) {
        out << "            lv2:portProperty lv2:toggled , pprops:trigger ;\n";
    } else if (!port.positions.empty()) {
        out << "            lv2:portProperty lv2:integer , lv2:enumeration ;\n";
        for (std::size_t k = 0; k < port.positions.size(); ++k) {
            out << "            lv2:scalePoint [ rdfs:label " << quoted(port.positions[k])
                << " ; rdf:value " << decimal(static_cast<double>(k)) << " ] ;\n";
        }
    }
    if (!port.unit.empty()) {
        out << "            units:unit [ a units:Unit ; rdfs:label " << quoted(port.unit)
            << " ; units:symbol " << quoted(port.unit) << " ; units:render "
            << quoted("%f " + port.unit) << " ] ;\n";
    }
    out << "        ] ,\n";
}

void writeTransportPort(std::ostringstream& out, std::uint32_t index) {
    out << "        [\n            a lv2:InputPort , atom:AtomPort ;\n"
        << "            atom:bufferType atom:Sequence ;\n"
        << "            atom:supports time:Position ;\n"
        << "            lv2:designation lv2:control ;\n            lv2:index " << index
        << " ;\n            lv2:symbol \"control\" ;\n"
        << "            lv2:name \"Transport\" ;\n        ] ,\n";
}

void writePanelDataPort(std::ostringstream& out, std::uint32_t index) {
    out << "        [\n            a lv2:OutputPort , atom:AtomPort ;\n"
        << "            atom:bufferType atom:Sequence ;\n"
        << "            lv2:designation lv2:control ;\n"
        << "            rsz:minimumSize " << kPanelDataBytes << " ;\n"
        << "            lv2:index " << index << " ;\n            lv2:symbol \"notify\" ;\n"
        << "            lv2:name \"Panel data\" ;\n        ] .\n";
}

}  // namespace

std::string TurtleWriter::fileName(const Product& product) {
    return PortLayout::symbolOf(product.identity.productString) + ".ttl";
}

std::string TurtleWriter::manifest(const std::vector<const Product*>& products,
                                   const std::vector<bool>& hasPanel, const Binaries& binaries) {
    std::ostringstream out;
    out << kPrefixes;
    for (std::size_t i = 0; i < products.size(); ++i) {
        const char* uri = products[i]->identity.lv2Uri;
        out << "<" << uri << ">\n    a lv2:Plugin ;\n    lv2:binary <" << binaries.plugins
            << "> ;\n    rdfs:seeAlso <" << fileName(*products[i]) << "> .\n\n";
        if (hasPanel[i]) {
            out << "<" << uiUriOf(uri) << ">\n    a ui:X11UI ;\n    ui:binary <" << binaries.panels
                << "> ;\n"
                << "    lv2:requiredFeature ui:parent , ui:idleInterface ;\n"
                << "    lv2:optionalFeature ui:resize , ui:touch , urid:map ;\n"
                << "    lv2:extensionData ui:idleInterface ;\n"
                << "    ui:portNotification [\n        ui:plugin <" << uri
                << "> ;\n        lv2:symbol \"notify\" ;\n"
                << "        ui:protocol atom:eventTransfer\n    ] .\n\n";
        }
    }
    return out.str();
}

std::string TurtleWriter::description(const Product& product, bool hasPanel) {
    const auto& identity = product.identity;
    const std::string uri = identity.lv2Uri;
    std::ostringstream out;
    out << kPrefixes;
    // The URI stands for the major version; LV2 versions count minor and micro.
    int major = 0;
    int minor = 0;
    int micro = 0;
    std::sscanf(identity.versionText, "%d.%d.%d", &major, &minor, &micro);
    out << "<" << uri << ">\n    a lv2:Plugin , lv2:" << identity.lv2Class << " , doap:Project"
        << " ;\n    doap:name " << quoted(identity.productString) << " ;\n    rdfs:comment "
        << quoted(identity.description)
        << " ;\n    doap:license <https://spdx.org/licenses/MIT> ;\n"
        << "    doap:maintainer [ foaf:name " << quoted(identity.vendor) << " ] ;\n"
        << "    lv2:minorVersion " << minor << " ;\n    lv2:microVersion " << micro
        << " ;\n    lv2:optionalFeature lv2:hardRTCapable , urid:map ;\n";
    if (hasPanel) {
        out << "    ui:ui <" << uiUriOf(uri.c_str()) << "> ;\n";
    }
    out << "    lv2:port\n";
    writeAudioPorts(out);
    const PortLayout layout(product.parameters);
    std::uint32_t index = PortLayout::kFirstControl;
    for (const ControlPort& port : layout.controls()) {
        writeControlPort(out, index++, port);
    }
    writeTransportPort(out, layout.transportPort());
    writePanelDataPort(out, layout.panelDataPort());
    return out.str();
}
