#include "renderer/screen_tree_model.h"

#include <QFont>
#include <QTimer>
#include <algorithm>

#include "renderer/screen_fonts.h"
#include "renderer/screen_pictures.h"
#include "renderer/screen_text.h"
#include "toolkit/core/gw_observer.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/draw/gw_bitmap.h"
#include "toolkit/tree/gw_tree.h"

namespace screen {

TreeModel::TreeModel(GwTree* tree, QObject* parent) : QAbstractItemModel(parent), tree_(tree) { BuildTop(nullptr); }

TreeModel::~TreeModel() = default;

void TreeModel::Build(Node* node, const GwTreeEntry* leaving) {
    if (node->entry == nullptr) return;
    nodes_[node->entry] = node;
    for (GwTreeEntry* child : node->entry->children()) {
        if (child == leaving) continue;
        auto childNode = std::make_unique<Node>();
        childNode->entry = child;
        childNode->parent = node;
        Build(childNode.get(), leaving);
        node->children.push_back(std::move(childNode));
    }
}

void TreeModel::BuildTop(const GwTreeEntry* leaving) {
    top_.children.clear();
    GwTreeEntry* root = tree_ != nullptr ? tree_->entries() : nullptr;
    if (root == nullptr || root == leaving) return;
    auto node = std::make_unique<Node>();
    node->entry = root;
    node->parent = &top_;
    Build(node.get(), leaving);
    top_.children.push_back(std::move(node));
}

void TreeModel::Forget(const Node* node) {
    nodes_.erase(node->entry);
    for (const auto& child : node->children) Forget(child.get());
}

bool TreeModel::Current(const Node* node) const {
    if (node == &top_) return true;
    if (node->parent == &top_) return tree_ != nullptr && tree_->entries() == node->entry;
    if (!Current(node->parent)) return false;
    const std::vector<GwTreeEntry*>& siblings = node->parent->entry->children();
    return std::find(siblings.begin(), siblings.end(), node->entry) != siblings.end();
}

TreeModel::Node* TreeModel::NodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : const_cast<Node*>(&top_);
}

int TreeModel::RowOf(const Node* node) const {
    if (node->parent == nullptr) return 0;
    const auto& siblings = node->parent->children;
    for (size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].get() == node) return static_cast<int>(i);
    }
    return 0;
}

QModelIndex TreeModel::IndexOfNode(const Node* node) const {
    if (node == nullptr || node == &top_) return QModelIndex();
    return createIndex(RowOf(node), 0, const_cast<Node*>(node));
}

QModelIndex TreeModel::index(int row, int column, const QModelIndex& parent) const {
    const Node* node = NodeOf(parent);
    if (column != 0 || row < 0 || row >= static_cast<int>(node->children.size())) return QModelIndex();
    return createIndex(row, 0, node->children[row].get());
}

QModelIndex TreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) return QModelIndex();
    return IndexOfNode(NodeOf(child)->parent);
}

int TreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() && parent.column() != 0) return 0;
    return static_cast<int>(NodeOf(parent)->children.size());
}

int TreeModel::columnCount(const QModelIndex&) const { return 1; }

void TreeModel::QueueReload() const {
    if (reloadQueued_) return;
    reloadQueued_ = true;
    auto* self = const_cast<TreeModel*>(this);
    QTimer::singleShot(0, self, [self] {
        self->reloadQueued_ = false;
        self->Reload();
    });
}

GwTreeEntry* TreeModel::EntryOf(const QModelIndex& index) const {
    if (!index.isValid()) return nullptr;
    const Node* node = NodeOf(index);
    if (!Current(node)) {
        QueueReload();
        return nullptr;
    }
    return node->entry;
}

QModelIndex TreeModel::IndexOf(const GwTreeEntry* entry) const {
    auto it = nodes_.find(entry);
    return it != nodes_.end() ? IndexOfNode(it->second) : QModelIndex();
}

QVariant TreeModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::DecorationRole && role != Qt::FontRole) return QVariant();
    GwTreeEntry* entry = EntryOf(index);
    if (entry == nullptr) return QVariant();
    if (role == Qt::DisplayRole) return ToScreen(entry->text());
    if (role == Qt::DecorationRole) {
        GwBitmap* bitmap = entry->bitmap();
        if (bitmap == nullptr) return QVariant();
        const QString key = ToScreen(bitmap->name());
        auto it = pictures_.find(key);
        if (it == pictures_.end()) it = pictures_.insert(key, BitmapImage(bitmap->name()));
        return it->isNull() ? QVariant() : QVariant(*it);
    }
    if (entry->font().empty()) return QVariant();
    GwFontInfo info;
    GwRcMgr::font(entry->font(), &info);
    return QFont(InstalledFace(info.face), info.points);
}

void TreeModel::Apply(const GwContentChange& change) {
    const GwTreeEntry* entry = change.entry;
    switch (change.kind) {
        case GwContentKind::kEntryAdded: {
            // Appended as the last child of its parent.
            GwTreeEntry* parentEntry = entry != nullptr ? entry->parent() : nullptr;
            auto it = parentEntry != nullptr ? nodes_.find(parentEntry) : nodes_.end();
            if (it == nodes_.end() || nodes_.count(entry) != 0) break;
            Node* parentNode = it->second;
            const int row = static_cast<int>(parentNode->children.size());
            if (!Current(parentNode) || parentEntry->child_count() != row + 1 ||
                parentEntry->children().back() != entry)
                break;
            beginInsertRows(IndexOfNode(parentNode), row, row);
            auto node = std::make_unique<Node>();
            node->entry = const_cast<GwTreeEntry*>(entry);
            node->parent = parentNode;
            Build(node.get(), nullptr);
            parentNode->children.push_back(std::move(node));
            endInsertRows();
            return;
        }
        case GwContentKind::kEntryRemoved: {
            auto it = entry != nullptr ? nodes_.find(entry) : nodes_.end();
            // The root itself goes with a new reading.
            if (it == nodes_.end() || it->second->parent == &top_ || !Current(it->second)) break;
            Node* node = it->second;
            Node* parentNode = node->parent;
            const int row = RowOf(node);
            beginRemoveRows(IndexOfNode(parentNode), row, row);
            Forget(node);
            parentNode->children.erase(parentNode->children.begin() + row);
            endRemoveRows();
            return;
        }
        case GwContentKind::kEntryExpanded:
        case GwContentKind::kEntrySelected:
            // The view's own state; the rows stay.
            return;
        default:
            break;
    }
    Reload(change.kind == GwContentKind::kEntryRemoved ? entry : nullptr);
}

void TreeModel::Reload(const GwTreeEntry* leaving) {
    beginResetModel();
    nodes_.clear();
    pictures_.clear();
    BuildTop(leaving);
    endResetModel();
}

}  // namespace screen
