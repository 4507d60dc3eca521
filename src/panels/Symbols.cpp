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
    // The email card.
    SymbolGlyph{"envelope.open.fill"_L1, 0xe151},            // drafts
    SymbolGlyph{"exclamationmark.triangle.fill"_L1, 0xe002}, // warning
    // The compose card.
    SymbolGlyph{"calendar.badge.plus"_L1, 0xe878}, // event
    SymbolGlyph{"paperplane.fill"_L1, 0xe163},     // send
    SymbolGlyph{"checkmark"_L1, 0xe5ca},           // check
    SymbolGlyph{"clock"_L1, 0xe8b5},               // schedule
    // The storage card and the file kinds.
    SymbolGlyph{"folder.fill"_L1, 0xe2c7},                             // folder
    SymbolGlyph{"plus"_L1, 0xe145},                                    // add
    SymbolGlyph{"arrow.clockwise"_L1, 0xe5d5},                         // refresh
    SymbolGlyph{"tray"_L1, 0xe156},                                    // inbox
    SymbolGlyph{"doc"_L1, 0xe24d},                                     // insert_drive_file
    SymbolGlyph{"doc.text"_L1, 0xef42},                                // article
    SymbolGlyph{"doc.richtext"_L1, 0xe415},                            // picture_as_pdf
    SymbolGlyph{"tablecells"_L1, 0xe265},                              // table_chart
    SymbolGlyph{"doc.text.fill"_L1, 0xe873},                           // description
    SymbolGlyph{"rectangle.on.rectangle"_L1, 0xe41b},                  // slideshow
    SymbolGlyph{"photo"_L1, 0xe410},                                   // photo
    SymbolGlyph{"waveform"_L1, 0xe3a1},                                // audiotrack
    SymbolGlyph{"film"_L1, 0xe02c},                                    // movie
    SymbolGlyph{"doc.zipper"_L1, 0xeb2c},                              // folder_zip
    SymbolGlyph{"chevron.left.forwardslash.chevron.right"_L1, 0xe86f}, // code
    // The entity dossier.
    SymbolGlyph{"circle.fill"_L1, 0xe061},            // fiber_manual_record
    SymbolGlyph{"building.2.fill"_L1, 0xe0af},        // business
    SymbolGlyph{"building.2"_L1, 0xea40},             // apartment
    SymbolGlyph{"dollarsign.circle.fill"_L1, 0xe263}, // monetization_on
    SymbolGlyph{"shippingbox.fill"_L1, 0xe1a1},       // inventory_2
    SymbolGlyph{"mappin.circle.fill"_L1, 0xe0c8},     // location_on
    SymbolGlyph{"cube.fill"_L1, 0xe574},              // category
    SymbolGlyph{"phone.fill"_L1, 0xe0cd},             // phone
    SymbolGlyph{"envelope.fill"_L1, 0xe0be},          // email
    SymbolGlyph{"link"_L1, 0xe157},                   // link
    SymbolGlyph{"map.fill"_L1, 0xe55b},               // map
    SymbolGlyph{"message.fill"_L1, 0xe0c9},           // message
    SymbolGlyph{"person.crop.circle"_L1, 0xe853},     // account_circle
    SymbolGlyph{"calendar"_L1, 0xe878},               // event
    SymbolGlyph{"banknote"_L1, 0xef63},               // payments
    SymbolGlyph{"note.text"_L1, 0xf1fc},              // sticky_note_2
    SymbolGlyph{"sparkles"_L1, 0xe65f},               // auto_awesome
    SymbolGlyph{"chevron.right"_L1, 0xe5cc},          // chevron_right
    SymbolGlyph{"chevron.down"_L1, 0xe5cf},           // expand_more
    SymbolGlyph{"pencil"_L1, 0xe3c9},                 // edit
    SymbolGlyph{"arrow.up.right.square"_L1, 0xe89e},  // open_in_new
    SymbolGlyph{"person.badge.minus"_L1, 0xef66},     // person_remove
    SymbolGlyph{"archivebox"_L1, 0xe149},             // archive
    // The memory card and its graph.
    SymbolGlyph{"trophy.fill"_L1, 0xea23},                        // emoji_events
    SymbolGlyph{"magnifyingglass"_L1, 0xe8b6},                    // search
    SymbolGlyph{"trash"_L1, 0xe872},                              // delete
    SymbolGlyph{"link.circle.fill"_L1, 0xe178},                   // add_link
    SymbolGlyph{"checkmark.circle.fill"_L1, 0xe86c},              // check_circle
    SymbolGlyph{"hand.raised.fill"_L1, 0xe925},                   // pan_tool
    SymbolGlyph{"cursorarrow"_L1, 0xe569},                        // near_me
    SymbolGlyph{"viewfinder"_L1, 0xe3b5},                         // center_focus_weak
    SymbolGlyph{"plus.magnifyingglass"_L1, 0xe8ff},               // zoom_in
    SymbolGlyph{"minus.magnifyingglass"_L1, 0xe900},              // zoom_out
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
