#include "paratools/tree/para_tree.h"

#include <cstring>
#include <string>

#include "app/main/main_object.h"
#include "app/services/app_files.h"
#include "bus/base/basic_bus.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_description_file.h"
#include "parameters/parabase/para_types.h"
#include "parameters/values/darray.h"
#include "toolkit/tree/gw_tree.h"

ParaTree::ParaTree(const char* rootText, int accessMode, int kind, int userLevel, int filter, GwTree* tree,
                   ParaBase* fileBase, bool rootsOnly)
    : tree_(tree) {
    if (tree_ != nullptr && tree_->entries() != nullptr) tree_->delete_entry(tree_->entries());
    Main* main = GetMain();
    if (kind == kParaTreeOfFile) {
        if (fileBase == nullptr || fileBase->TableLoaded == 0) return;
        root_ = new ParaTreeEntry(rootText);
    } else {
        if (main == nullptr || main->GetActiveBus() == nullptr) return;
        root_ = new ParaTreeEntry(rootText, kind == kParaTreeOfAllDevices);
    }
    switch (kind) {
        case kParaTreeOfFile: {
            uint16_t code = 0;
            fileBase->GetValueU16(kDeviceCodeParameter, &code);
            AddDevice(0, new ParaTreeEntry(kFileDeviceIndex, GetDeviceTypeName(code), fileBase));
            break;
        }
        case kParaTreeOfActiveDevice:
            if (!main->HasOnlineDevice()) {
                if (!rootsOnly) GiveRoot();
                return;
            }
            AddDevice(main->GetActiveAddress(),
                      new ParaTreeEntry(main->GetActiveAddress(), main->GetActiveDeviceLabel(), nullptr));
            break;
        default: {
            const DataBus* bus = main->GetActiveBus();
            for (int address = 0; address < kParaTreeDeviceSlots; ++address) {
                if (bus->GetDevice(address) == nullptr) continue;
                AddDevice(address, new ParaTreeEntry(address, main->GetDeviceLabel(address), nullptr));
            }
            break;
        }
    }
    if (rootsOnly) return;
    for (int slot = 0; slot < kParaTreeDeviceSlots; ++slot) {
        if (devices_[slot] != nullptr) AddGroups(slot, accessMode, userLevel, filter);
    }
    GiveRoot();
}

ParaTree::~ParaTree() {
    if (!rootGiven_) delete root_;
}

ParaTreeEntry* ParaTree::DeviceNode(int slot) const {
    return slot >= 0 && slot < kParaTreeDeviceSlots ? devices_[slot] : nullptr;
}

void ParaTree::AddDevice(int slot, ParaTreeEntry* node) {
    if (slot < 0 || slot >= kParaTreeDeviceSlots) {
        delete node;
        return;
    }
    root_->add_child(node);
    devices_[slot] = node;
}

void ParaTree::GiveRoot() {
    if (tree_ != nullptr && root_ != nullptr && tree_->set_entries(root_)) rootGiven_ = true;
}

bool ParaTree::Passes(ParaBase* base, int number, int accessMode, int userLevel, int filter) const {
    const ParameterEntry* e = base->GetEntry(number);
    if (filter == kFilterUsed && e->transfer == 0) return false;
    if (filter == kFilterUnused && e->transfer != 0) return false;
    switch (accessMode) {
        case kAccessWrite:
            return base->IsWriteAllowed(number, userLevel);
        case kAccessRead:
            return base->IsReadAllowed(number, userLevel);
        case kAccessSCGroup:
            return e->SCGroup != 0;
        default:
            return base->IsReadAllowed(number, userLevel) || base->IsWriteAllowed(number, userLevel);
    }
}

void ParaTree::AddGroups(int slot, int accessMode, int userLevel, int filter) {
    ParaTreeEntry* device = devices_[slot];
    ParaBase* base = device->GetBase();
    if (base == nullptr) return;
    const int deviceIndex = device->GetDeviceIndex();
    ParaDescriptionFile* descriptions = base->GetDescriptionFile();
    const int groups = base->GetKPGroupCount();
    for (int g = 0; g < groups; ++g) {
        const bool groupPasses = filter == kFilterValid    ? base->HasValidInKPGroup(g)
                                 : filter == kFilterUsed   ? base->HasUsedInKPGroup(g)
                                 : filter == kFilterUnused ? base->HasUnusedInKPGroup(g)
                                                           : false;
        if (!groupPasses) continue;
        const char* name = base->GetKPGroupName(g);
        const char* menu = descriptions != nullptr && name != nullptr ? descriptions->GetParaMenuText(name) : name;
        std::string text = menu != nullptr ? menu : "";
        if (text.size() > kFolderTextLength) text.resize(kFolderTextLength);
        folder_ = new ParaTreeEntry(text.c_str(), deviceIndex, g, deviceIndex < 0 ? base : nullptr);
        device->add_child(folder_);
        bool added = false;
        for (int p = 0; p < kParameterCount; ++p) {
            if (!base->IsPresent(p) || base->GetEntry(p)->KPGroup != g) continue;
            if (!Passes(base, p, accessMode, userLevel, filter)) continue;
            ParaBase* nodeBase = deviceIndex < 0 ? base : nullptr;
            if ((base->GetEntry(p)->flags & kFlagArray) != 0) {
                field_ = new ParaTreeEntry(deviceIndex, p, nodeBase);
                folder_->add_child(field_);
                const darray* array = base->GetArrayObject(p);
                const int count = array != nullptr ? static_cast<int>(array->GetCount()) : 0;
                for (int element = 0; element < count; ++element) {
                    field_->add_child(new ParaTreeEntry(deviceIndex, p, element, nodeBase));
                }
            } else {
                folder_->add_child(new ParaTreeEntry(deviceIndex, p, 0, nodeBase));
            }
            added = true;
        }
        if (!added) {
            device->loose_child(folder_);
            delete folder_;
        }
        folder_ = nullptr;
        field_ = nullptr;
    }
}

GwTreeEntry* FindEntry(GwTree* tree, const char* id) {
    GwTreeEntry* root = tree != nullptr ? tree->entries() : nullptr;
    if (root == nullptr || id == nullptr) return nullptr;
    if (root->id() == id) return root;
    return FindInSubtree(root, id);
}

GwTreeEntry* FindInSubtree(GwTreeEntry* entry, const char* id) {
    if (entry == nullptr || id == nullptr) return nullptr;
    for (GwTreeEntry* child : entry->children()) {
        if (child->id() == id) return child;
        if (GwTreeEntry* found = FindInSubtree(child, id)) return found;
    }
    return nullptr;
}
