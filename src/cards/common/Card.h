#pragma once

#include <QObject>
#include <QString>
#include <QtQmlIntegration>

#include <functional>

#include "CardWindow.h"
#include "ControlChannel.h"
#include "FileChoosers.h"
#include "Menu.h"

class QQmlEngine;

namespace halvic {

class EventDispatcher;
class Scheduler;

/// What every card is built from: the time seam, the QML engine its view is made in, the one
/// writer of its action files, and where a card process comes from.
struct CardContext
{
    Scheduler &scheduler;
    QQmlEngine &qml;
    ControlChannel control;
    /// This program, for cards that run part of themselves in a process of their own; empty
    /// where every card stays in this process.
    QString cardProgram = {};
};

/// Shows a file chooser for a request (one at a time, see FileChooserQueue).
using FilePicker = std::function<void(FileChooserQueue::Request)>;

/// What `Cards` needs of each card: its engine rows, its answer to "card_close", the menu
/// entries that open it and, for a card that takes files, the file chooser. State and the
/// window are the card's own (the window as its last member).
class Card : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Cards are created by the application")
    /// The card's window: its bubble and the header's minimise and close buttons.
    Q_PROPERTY(halvic::CardWindow *window READ window CONSTANT)
public:
    using QObject::QObject;

    virtual CardWindow *window() = 0;
    /// Registers the card's engine rows (they end with the card).
    virtual void registerRows(EventDispatcher &dispatcher) = 0;
    /// "card_close": a card showing a draft, thread or entity closes itself when `id` is
    /// empty or its own; the others ignore it.
    virtual void close(const QString &id) { Q_UNUSED(id) }
    /// The card's entries in the menus (the tray's, or the HUD's "More" without a tray).
    virtual Menu menuEntries() { return {}; }
    /// Where a card that takes files from the user asks for them.
    virtual void useFilePicker(const FilePicker &picker) { Q_UNUSED(picker) }
};

} // namespace halvic
