#include "xml/TextPosition.h"

#include <algorithm>

CXmlLineStarts::CXmlLineStarts(XmlTextView text) : text_(text) {
    starts_.push_back(0);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        if (text[i] == u'\r' || text[i] == u'\n')
            starts_.push_back(i + 1);
    }
}

XmlTextPosition CXmlLineStarts::Locate(size_t offset) const {
    offset = std::min(offset, text_.size());
    auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
    size_t line_index = static_cast<size_t>(after - starts_.begin()) - 1;
    int column = 1;
    for (size_t i = starts_[line_index]; i < offset; ++i) {
        // The second half of a surrogate pair adds nothing.
        if ((static_cast<uint32_t>(text_[i]) & 0xFC00) != 0xDC00)
            ++column;
    }
    return {static_cast<int>(line_index) + 1, column};
}
