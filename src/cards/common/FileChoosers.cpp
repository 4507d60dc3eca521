#include "FileChoosers.h"

#include <algorithm>

namespace halvic {

bool FileChooserQueue::ask(Request request)
{
    if (std::any_of(m_requests.begin(), m_requests.end(), [&](const Request &r) { return r.asker == request.asker; }))
        return false;
    m_requests.push_back(std::move(request));
    return m_requests.size() == 1;
}

void FileChooserQueue::choose(const QList<QUrl> &urls) const
{
    if (m_requests.empty())
        return;
    // A copy: what the asker does with the files may ask for another chooser.
    const Chosen chosen = m_requests.front().chosen;
    if (chosen)
        chosen(urls);
}

bool FileChooserQueue::close()
{
    if (m_requests.empty())
        return false;
    m_requests.pop_front();
    return !m_requests.empty();
}

} // namespace halvic
