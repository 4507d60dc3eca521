#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <deque>
#include <functional>

namespace halvic {

/// The file choosers that the chat and the cards ask for, shown one at a time: each request
/// gets a chooser of its own, and the files chosen there go to that request alone. A request
/// made while another chooser is open waits until that one closes; asking again for a
/// chooser that is open or waiting changes nothing. Plain logic: the caller shows the
/// choosers and reports what the user did.
class FileChooserQueue
{
public:
    using Chosen = std::function<void(const QList<QUrl> &)>;
    struct Request
    {
        /// Who asks; one chooser at a time for each.
        QString asker;
        QString title;
        Chosen chosen;
    };

    /// Queues `request`; true when its chooser is to be shown now (none was open).
    bool ask(Request request);
    /// The request whose chooser is open, or null.
    const Request *open() const { return m_requests.empty() ? nullptr : &m_requests.front(); }
    /// The user chose `urls` in the open chooser: they go to its request.
    void choose(const QList<QUrl> &urls) const;
    /// The open chooser closed (chosen or cancelled); true when the next request's chooser
    /// is to be shown now (see open()).
    bool close();

private:
    std::deque<Request> m_requests;
};

} // namespace halvic
