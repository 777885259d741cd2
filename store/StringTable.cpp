#include "StringTable.h"

namespace store {

void StringTable::buildIndex() const
{
    index_.reserve(strings_.size());
    for (quint32 i = 0; i < strings_.size(); ++i) index_.try_emplace(strings_[i], i);
    indexed_ = true;
}

quint32 StringTable::add(const QString& text)
{
    if (!indexed_) buildIndex();
    const auto [it, added] = index_.try_emplace(text, size());
    if (added) strings_.push_back(text);
    return it->second;
}

quint32 StringTable::adopt(std::vector<QString> strings)
{
    const quint32 first = size();
    if (strings_.empty()) {
        strings_ = std::move(strings);
    } else {
        strings_.reserve(strings_.size() + strings.size());
        for (QString& text : strings) strings_.push_back(std::move(text));
    }
    if (indexed_)
        for (quint32 i = first; i < strings_.size(); ++i) index_.try_emplace(strings_[i], i);
    return first;
}

} // namespace store
