// Feature dialogs. The logic fills a plain record and asks for the dialog of that record's type; a
// front that can show such a dialog has registered a window for it. So a new dialog is one record
// beside its logic and one window in the desktop layer, registered in one line, and no port changes.
// A dialog that no front has registered counts as cancelled.
#pragma once

#include <functional>
#include <typeindex>
#include <unordered_map>
#include <utility>

namespace vrk {

class Dialogs {
 public:
  // `show` shows the dialog for a record, lets the user change it and returns true for OK.
  template <typename Record>
  void Register(std::function<bool(Record&)> show) {
    shows_[typeid(Record)] = [show = std::move(show)](void* record) { return show(*static_cast<Record*>(record)); };
  }

  // True when the dialog was shown and confirmed; the record then holds the user's answers.
  template <typename Record>
  bool Show(Record& record) const {
    const auto it = shows_.find(typeid(Record));
    return it != shows_.end() && it->second(&record);
  }

 private:
  std::unordered_map<std::type_index, std::function<bool(void*)>> shows_;
};

}  // namespace vrk
