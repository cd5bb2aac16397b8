#include "framework/Collections.h"

#include <algorithm>
#include <string>

#include "framework/SysUtils.h"

namespace kel {

int TCollectionItem::Index() const {
    return collection_->IndexOf(*this);
}

void TCollectionItem::SetIndex(int value) {
    collection_->Move(Index(), value);
}

void TCollectionItem::Assign(const TCollectionItem& source) {
    if (&source != this) throw EConvertError("Cannot assign a collection item of another kind");
}

void TCollectionItem::Changed(bool allItems) {
    collection_->Changed(allItems ? nullptr : this);
}

const TClassInfo& TCollection::StaticClassInfo() {
    static const TClassInfo info("TCollection", &TObject::StaticClassInfo());
    return info;
}

const TClassInfo& TOwnedCollection::StaticClassInfo() {
    static const TClassInfo info("TOwnedCollection", &TCollection::StaticClassInfo());
    return info;
}

TCollection::~TCollection() {
    // Items are freed without notifications: the owner may already be half destroyed.
    ++updateCount_;
    items_.clear();
}

TCollectionItem& TCollection::Item(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return *items_[static_cast<size_t>(index)];
}

TCollectionItem& TCollection::Add() {
    items_.push_back(factory_(*this));
    TCollectionItem& item = *items_.back();
    Changed(nullptr);
    return item;
}

void TCollection::Delete(int index) {
    Item(index); // range check
    items_.erase(items_.begin() + index);
    Changed(nullptr);
}

void TCollection::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed(nullptr);
}

void TCollection::Assign(const TCollection& source) {
    if (&source == this) return;
    // The copies are added one after another to an emptied list, so an item's own checks against
    // its collection see only the items copied before it. A refused item brings the old list back.
    auto previous = std::move(items_);
    items_.clear();
    BeginUpdate();
    try {
        for (const auto& item : source.items_) {
            items_.push_back(factory_(*this));
            items_.back()->Assign(*item);
        }
    } catch (...) {
        items_ = std::move(previous);
        --updateCount_;
        throw;
    }
    EndUpdate();
}

int TCollection::IndexOf(const TCollectionItem& item) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == &item) return static_cast<int>(i);
    return -1;
}

void TCollection::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) Changed(nullptr);
}

void TCollection::Changed(TCollectionItem* item) {
    if (updateCount_ == 0) Update(item);
}

void TCollection::Move(int from, int to) {
    Item(from);
    to = std::clamp(to, 0, Count() - 1);
    if (from == to) return;
    auto item = std::move(items_[static_cast<size_t>(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
    Changed(nullptr);
}

} // namespace kel
