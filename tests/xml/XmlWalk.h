#pragma once
// Visits every element of a loaded document through the cursor, depth first and without
// recursion, handing each one's text to `visit`. Returns the number of elements visited, or -1
// when the walk would visit more elements than the index holds (a cycle).
#include "xml/XmlDocument.h"

#include <string>
#include <string_view>

template <typename Visit> long WalkEveryElement(XmlDocument& document, Visit&& visit) {
    const std::wstring_view any; // an empty name matches every element
    long visited = 0;
    const long elements = document.FreePos() - 1;
    if (!document.FindElement(any))
        return 0;
    for (;;) {
        if (++visited > elements)
            return -1;
        visit(document.ElementText());
        if (document.FindChildElement(any) && document.EnterElement())
            continue;
        bool moved = false;
        while (!(moved = document.FindElement(any))) {
            if (!document.LeaveElement())
                break;
        }
        if (!moved)
            return visited;
    }
}
