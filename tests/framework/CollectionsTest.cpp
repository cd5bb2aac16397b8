// Collections: items in order with their indices, copies through the items' own Assign, and
// change notifications grouped by BeginUpdate/EndUpdate; a collection published as a property.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Collections.h"
#include "framework/SysUtils.h"

namespace kel {
namespace {

class TNamedItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    const std::string& Text() const { return text_; }
    void SetText(const std::string& value) {
        text_ = value;
        ++setterCalls;
        Changed();
    }
    void Assign(const TCollectionItem& source) override {
        auto* other = dynamic_cast<const TNamedItem*>(&source);
        if (!other) return TCollectionItem::Assign(source);
        SetText(other->Text());
    }
    int setterCalls = 0;

private:
    std::string text_;
};

class TOtherItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
};

// Records every change it is told about: the item, or nullptr for the whole list.
class TRecordingCollection : public TTypedCollection<TNamedItem> {
public:
    using TTypedCollection::TTypedCollection;
    std::vector<TCollectionItem*> updates;

protected:
    void Update(TCollectionItem* item) override { updates.push_back(item); }
};

std::vector<std::string> Texts(const TTypedCollection<TNamedItem>& c) {
    std::vector<std::string> texts;
    for (int i = 0; i < c.Count(); ++i) texts.push_back(c.Items(i).Text());
    return texts;
}

TEST(Collections, ItemsKeepOrderAndIndicesThroughMovesAndDeletes) {
    TRecordingCollection c(nullptr);
    for (const char* text : {"a", "b", "c", "d"}) c.Add().SetText(text);
    EXPECT_EQ(Texts(c), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(c.Items(2).Index(), 2);

    c.Items(3).SetIndex(0);
    EXPECT_EQ(Texts(c), (std::vector<std::string>{"d", "a", "b", "c"}));
    c.Items(0).SetIndex(99); // clamped to the end
    EXPECT_EQ(Texts(c), (std::vector<std::string>{"a", "b", "c", "d"}));

    c.Delete(1);
    EXPECT_EQ(Texts(c), (std::vector<std::string>{"a", "c", "d"}));
    EXPECT_EQ(c.Items(1).Index(), 1);
    EXPECT_THROW(c.Items(3), EListError);
    EXPECT_THROW(c.Delete(-1), EListError);
    c.Clear();
    EXPECT_EQ(c.Count(), 0);
}

TEST(Collections, ChangesReachTheCollectionAndUpdatesGroupIntoOne) {
    TRecordingCollection c(nullptr);
    TNamedItem& item = c.Add();
    ASSERT_EQ(c.updates, (std::vector<TCollectionItem*>{nullptr}));
    item.SetText("x");
    ASSERT_EQ(c.updates.back(), &item);

    c.updates.clear();
    c.BeginUpdate();
    c.BeginUpdate();
    c.Add().SetText("y");
    c.Items(0).SetText("z");
    c.EndUpdate();
    EXPECT_TRUE(c.updates.empty()) << "nothing before the outermost EndUpdate";
    c.EndUpdate();
    EXPECT_EQ(c.updates, (std::vector<TCollectionItem*>{nullptr}));
    c.EndUpdate(); // unbalanced: ignored
    EXPECT_EQ(c.UpdateCount(), 0);
}

TEST(Collections, AssignCopiesItemByItemThroughTheSetters) {
    TRecordingCollection source(nullptr), target(nullptr);
    source.Add().SetText("left");
    source.Add().SetText("right");
    target.Add().SetText("old");
    target.updates.clear();

    target.Assign(source);
    EXPECT_EQ(Texts(target), Texts(source));
    EXPECT_EQ(target.Items(0).setterCalls, 1) << "copied through the setter";
    EXPECT_NE(&target.Items(0), &source.Items(0));
    EXPECT_EQ(target.updates, (std::vector<TCollectionItem*>{nullptr})) << "one notification";

    target.Assign(target); // self-assignment keeps everything
    EXPECT_EQ(Texts(target), Texts(source));
}

TEST(Collections, AssignFromAnotherItemKindIsRefusedAndChangesNothing) {
    TRecordingCollection target(nullptr);
    target.Add().SetText("kept");
    TTypedCollection<TOtherItem> other(nullptr);
    other.Add();
    EXPECT_THROW(target.Assign(other), EConvertError);
    EXPECT_EQ(Texts(target), (std::vector<std::string>{"kept"}));
    EXPECT_EQ(target.UpdateCount(), 0);
}

// A published collection's class describes itself, so the registry can name it.
class TNamedItems : public TTypedCollection<TNamedItem> {
    KEL_DECLARE_CLASS(TNamedItems)
public:
    using TTypedCollection::TTypedCollection;
};

const TClassInfo& TNamedItems::StaticClassInfo() {
    static const TClassInfo info("TNamedItems", &TOwnedCollection::StaticClassInfo());
    return info;
}

// A component publishing its collection: reading gives the component's own collection, writing
// copies the given one into it.
class THolder : public TComponent {
    KEL_DECLARE_CLASS(THolder)
public:
    using TComponent::TComponent;
    TNamedItems* Items() const { return &items_; }
    void SetItems(TNamedItems* value) {
        if (value) items_.Assign(*value);
    }

private:
    mutable TNamedItems items_{this};
};

const TClassInfo& THolder::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("THolder", &TComponent::StaticClassInfo());
        TPublisher<THolder>(i).Property("Items", &THolder::Items, &THolder::SetItems);
        return i;
    }();
    return info;
}

TEST(Collections, PublishedAsACollectionProperty) {
    THolder holder(nullptr);
    const TPropInfo* info = holder.ClassInfo().FindProp("items");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->Kind, TPropKind::Collection);
    EXPECT_EQ(info->TypeName(), "TNamedItems");
    EXPECT_EQ(std::get<TCollection*>(GetPropValue(holder, "Items")), holder.Items());
    EXPECT_EQ(holder.Items()->Owner(), &holder);

    TNamedItems given(nullptr);
    given.Add().SetText("copied");
    SetPropValue(holder, "Items", TPropValue(static_cast<TCollection*>(&given)));
    ASSERT_EQ(holder.Items()->Count(), 1);
    EXPECT_EQ(holder.Items()->Items(0).Text(), "copied");
    EXPECT_NE(&holder.Items()->Items(0), &given.Items(0));
}

} // namespace
} // namespace kel
