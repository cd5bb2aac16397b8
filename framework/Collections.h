// Collections: ordered lists of items of one kind that a component publishes as one property
// (the sections of a title bar, its buttons). Items know their collection and index; a change of
// an item or of the list is reported to the collection's Update, which an owned collection's
// owner uses to redraw. Platform-neutral.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framework/Classes.h"

namespace kel {

class TCollection;

class TCollectionItem : public TObject {
public:
    explicit TCollectionItem(TCollection& collection) : collection_(&collection) {}
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;

    TCollection& Collection() const { return *collection_; }
    int Index() const;
    // Moves the item to another place of its collection (clamped to the list).
    void SetIndex(int value);
    // Copies the settings of another item of the same kind through the setters; an item of
    // another kind raises EConvertError.
    virtual void Assign(const TCollectionItem& source);

protected:
    // Tells the collection that this item changed (or, with allItems, the whole list).
    void Changed(bool allItems = false);

private:
    TCollection* collection_;
};

class TCollection : public TObject {
    KEL_DECLARE_CLASS(TCollection)
public:
    using TItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection&)>;
    explicit TCollection(TItemFactory factory) : factory_(std::move(factory)) {}
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    // The item at an index; EListError outside the list.
    TCollectionItem& Item(int index) const;
    TCollectionItem& Add();
    void Delete(int index);
    void Clear();
    // Replaces the items by copies of the source's, each copied through its Assign; an item that
    // refuses its copy (EConvertError for another kind) leaves this collection as it was before.
    void Assign(const TCollection& source);
    int IndexOf(const TCollectionItem& item) const;

    // Groups changes: Update runs once, for the whole list, after the outermost EndUpdate.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

protected:
    // Told about a change: of one item, or of the list itself (nullptr). Descendants react.
    virtual void Update(TCollectionItem* /*item*/) {}

private:
    friend class TCollectionItem;
    void Changed(TCollectionItem* item);
    void Move(int from, int to);

    TItemFactory factory_;
    std::vector<std::unique_ptr<TCollectionItem>> items_;
    int updateCount_ = 0;
};

// A collection that belongs to a component or another object, which it names as its owner.
class TOwnedCollection : public TCollection {
    KEL_DECLARE_CLASS(TOwnedCollection)
public:
    TOwnedCollection(TObject* owner, TItemFactory factory)
        : TCollection(std::move(factory)), owner_(owner) {}
    TObject* Owner() const { return owner_; }

private:
    TObject* owner_;
};

// A collection whose items are all of class Item: typed access and an Add that returns one.
template <class T> class TTypedCollection : public TOwnedCollection {
public:
    explicit TTypedCollection(TObject* owner)
        : TOwnedCollection(owner, [](TCollection& c) { return std::make_unique<T>(c); }) {}
    T& Items(int index) const { return static_cast<T&>(Item(index)); }
    T& Add() { return static_cast<T&>(TCollection::Add()); }
};

} // namespace kel
