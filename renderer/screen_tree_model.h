// A tree widget's entries as a Qt item model. The model mirrors the tree's
// structure in nodes of its own, kept by the tree's change records (an
// entry added, an entry on its way out, the entries replaced): a change
// inserts or removes only its rows, so the view keeps its selection,
// expansion and scroll position. Texts, pictures and fonts are read from
// the entries when the view asks; an entry the mirror holds that is no
// longer in the tree (changed by program code without a record) is never
// read, and the mirror is read anew. The root entry is the one top row, as
// in the tree's own rows.
#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QPixmap>
#include <memory>
#include <unordered_map>
#include <vector>

#include "toolkit/core/gw_ref.h"

class GwTree;
class GwTreeEntry;
struct GwContentChange;

namespace screen {

class TreeModel : public QAbstractItemModel {
public:
    TreeModel(GwTree* tree, QObject* parent);
    ~TreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // One change record of the tree's structure; a record that does not
    // fit the mirror reads the tree anew.
    void Apply(const GwContentChange& change);
    // Reads the tree anew, without the subtree of `leaving` (an entry that
    // is on its way out).
    void Reload(const GwTreeEntry* leaving = nullptr);

    // The entry of an index while it is still in the tree; null otherwise.
    GwTreeEntry* EntryOf(const QModelIndex& index) const;
    // The index of an entry the model holds (invalid for none).
    QModelIndex IndexOf(const GwTreeEntry* entry) const;

private:
    struct Node {
        GwTreeEntry* entry = nullptr;
        Node* parent = nullptr;
        std::vector<std::unique_ptr<Node>> children;
    };

    // The top row: the tree's root entry with its subtree, unless it is
    // `leaving`.
    void BuildTop(const GwTreeEntry* leaving);
    void Build(Node* node, const GwTreeEntry* leaving);
    void Forget(const Node* node);
    // Whether the node's entry is still where the mirror has it.
    bool Current(const Node* node) const;
    Node* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOfNode(const Node* node) const;
    int RowOf(const Node* node) const;
    void QueueReload() const;

    GwRef<GwTree> tree_;
    // Stands above the rows (the invalid index); its one child is the root.
    Node top_;
    std::unordered_map<const GwTreeEntry*, Node*> nodes_;
    mutable bool reloadQueued_ = false;
    mutable QHash<QString, QPixmap> pictures_;
};

}  // namespace screen
