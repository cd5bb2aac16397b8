// The registry of live menu items, shared by the menu layer's files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "framework/win/Graphics.h"

namespace kel {

class TMenuItem;

// The live items of the program: command numbers handed out and taken back, the items behind
// entries' item data, and the items behind sub-item menus. One per program, as command numbers
// must not repeat among the menus one window shows.
class TMenuRegistry {
public:
    static TMenuRegistry& Instance() {
        static TMenuRegistry registry;
        return registry;
    }
    uint16_t Allocate(TMenuItem* item) {
        uint16_t command;
        if (!free_.empty()) {
            command = free_.back();
            free_.pop_back();
        } else if (next_ != 0) { // 0 once every number up to 65535 was handed out
            command = next_++;
        } else {
            throw EOutOfResources("Too many menu items");
        }
        commands_[command] = item;
        live_.insert(item);
        return command;
    }
    void Release(uint16_t command, TMenuItem* item) {
        commands_.erase(command);
        live_.erase(item);
        free_.push_back(command);
    }
    TMenuItem* ByCommand(UINT command) const {
        const auto it = commands_.find(static_cast<uint16_t>(command));
        return command <= 0xFFFF && it != commands_.end() ? it->second : nullptr;
    }
    TMenuItem* ByData(ULONG_PTR data) const {
        auto* item = reinterpret_cast<TMenuItem*>(data);
        return live_.count(item) ? item : nullptr;
    }
    void SetHandle(HMENU menu, TMenuItem* item) {
        if (item)
            handles_[menu] = item;
        else
            handles_.erase(menu);
    }
    TMenuItem* ByHandle(HMENU menu) const {
        const auto it = handles_.find(menu);
        return it == handles_.end() ? nullptr : it->second;
    }

private:
    // Below 256 command numbers stay free for dialog controls, which report through WM_COMMAND
    // too.
    static constexpr uint16_t kFirstCommand = 0x100;
    std::unordered_map<uint16_t, TMenuItem*> commands_;
    std::unordered_set<const TMenuItem*> live_;
    std::unordered_map<HMENU, TMenuItem*> handles_;
    std::vector<uint16_t> free_;
    uint16_t next_ = kFirstCommand;
};

} // namespace kel
