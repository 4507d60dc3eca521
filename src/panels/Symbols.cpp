#include "Symbols.h"

#include <algorithm>
#include <array>

namespace halvic {

namespace {

using namespace Qt::Literals::StringLiterals;

constexpr std::array glyphs{
    SymbolGlyph{"waveform.circle.fill"_L1, 0xe1b8}, // graphic_eq
    SymbolGlyph{"mic.fill"_L1, 0xe029},             // mic
    SymbolGlyph{"mic.slash.fill"_L1, 0xe02b},       // mic_off
    SymbolGlyph{"ear.fill"_L1, 0xe023},             // hearing
    SymbolGlyph{"ear"_L1, 0xf104},                  // hearing_disabled
    SymbolGlyph{"brain"_L1, 0xea4a},                // psychology
    SymbolGlyph{"ellipsis.circle"_L1, 0xe5d3},      // more_horiz
    SymbolGlyph{"chevron.up"_L1, 0xe5ce},           // expand_less
    SymbolGlyph{"person.fill"_L1, 0xe7fd},          // person
    SymbolGlyph{"checkmark.seal.fill"_L1, 0xe8e8},  // verified
    SymbolGlyph{"sparkle"_L1, 0xe65f},              // auto_awesome
    SymbolGlyph{"doc.fill"_L1, 0xe873},             // description
    SymbolGlyph{"xmark"_L1, 0xe5cd},                // close
    SymbolGlyph{"xmark.circle.fill"_L1, 0xe5c9},    // cancel
    SymbolGlyph{"paperclip"_L1, 0xe226},            // attach_file
    SymbolGlyph{"speaker.wave.2.fill"_L1, 0xe050},  // volume_up
    SymbolGlyph{"speaker.slash"_L1, 0xe04f},        // volume_off
    SymbolGlyph{"arrow.up.circle.fill"_L1, 0xf182}, // arrow_circle_up
    SymbolGlyph{"arrow.2.circlepath"_L1, 0xe627},   // sync
    SymbolGlyph{"checklist"_L1, 0xe6b1},            // checklist
    SymbolGlyph{"minus.circle.fill"_L1, 0xe15c},    // remove_circle
    SymbolGlyph{"circle"_L1, 0xe836},               // radio_button_unchecked
    // The memory card and its graph.
    SymbolGlyph{"trophy.fill"_L1, 0xea23},                        // emoji_events
    SymbolGlyph{"magnifyingglass"_L1, 0xe8b6},                    // search
    SymbolGlyph{"pencil"_L1, 0xe3c9},                             // edit
    SymbolGlyph{"trash"_L1, 0xe872},                              // delete
    SymbolGlyph{"link"_L1, 0xe157},                               // link
    SymbolGlyph{"link.circle.fill"_L1, 0xe178},                   // add_link
    SymbolGlyph{"checkmark.circle.fill"_L1, 0xe86c},              // check_circle
    SymbolGlyph{"hand.raised.fill"_L1, 0xe925},                   // pan_tool
    SymbolGlyph{"cursorarrow"_L1, 0xe569},                        // near_me
    SymbolGlyph{"viewfinder"_L1, 0xe3b5},                         // center_focus_weak
    SymbolGlyph{"plus.magnifyingglass"_L1, 0xe8ff},               // zoom_in
    SymbolGlyph{"minus.magnifyingglass"_L1, 0xe900},              // zoom_out
    SymbolGlyph{"arrow.clockwise"_L1, 0xe5d5},                    // refresh
    SymbolGlyph{"arrow.up.left.and.arrow.down.right"_L1, 0xe5d0}, // fullscreen
    SymbolGlyph{"arrow.down.right.and.arrow.up.left"_L1, 0xe5d1}, // fullscreen_exit
    SymbolGlyph{"scissors"_L1, 0xe14e},                           // content_cut
};

} // namespace

std::span<const SymbolGlyph> Symbols::table()
{
    return glyphs;
}

QString Symbols::glyph(const QString &name)
{
    const auto it = std::find_if(glyphs.begin(), glyphs.end(), [&](const SymbolGlyph &g) { return g.name == name; });
    if (it == glyphs.end())
        return {};
    const char32_t codePoint = it->codePoint;
    return QString::fromUcs4(&codePoint, 1);
}

} // namespace halvic
