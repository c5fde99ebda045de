#pragma once
// Line and column of an offset in a document's text, for tools that point people at a place in
// the file. Worked out on demand from the text the reader keeps, so reading a document pays
// nothing for it.
#include "xml/XmlText.h"

#include <cstddef>
#include <vector>

struct XmlTextPosition {
    int line = 1;   // from 1
    int column = 1; // from 1, in characters (a surrogate pair counts once)
};

class CXmlLineStarts {
public:
    // One pass over the text: a line ends with LF, CR LF or a lone CR.
    explicit CXmlLineStarts(XmlTextView text);

    // The position of `offset` (clamped to the end of the text).
    XmlTextPosition Locate(size_t offset) const;

private:
    XmlTextView text_;
    std::vector<size_t> starts_;
};
