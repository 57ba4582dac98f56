#include "util/utils.h"

void SplitText(const std::string& text, const std::string& separator,
               std::vector<std::string>* list) {
    if (!list || text.empty() || separator.empty()) return;
    const char sep = separator[0];
    size_t start = 0;
    for (size_t pos = text.find(sep); pos != std::string::npos; pos = text.find(sep, start)) {
        list->push_back(text.substr(start, pos - start));
        start = pos + 1;
    }
    list->push_back(text.substr(start));
}
