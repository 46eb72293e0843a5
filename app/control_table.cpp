#include "control_table.h"

#include <algorithm>

#include "texts.h"

namespace fenlodar {

namespace {

using K = ControlKind;
using R = Role;
using H = Handler;
namespace t = texts;

constexpr std::array<ControlRecord, kControlCount> kControls{{
    {K::PushButton, t::kStoredNameButton5, R::ReloadButton, 251, 385, 80, 32,
     t::kCaptionReload, 2, H::OnReloadClicked},
    {K::PushButton, t::kStoredNameButton4, R::RestoreButton, 369, 385, 80, 32,
     t::kCaptionRestore, 2, H::OnRestoreClicked},
    {K::PushButton, t::kStoredNameButton3, R::VisitButton, 392, 90, 64, 32,
     t::kCaptionVisit, 0, H::OnVisitClicked},
    {K::DropTarget, t::kStoredNameDropTarget, R::FileDropTarget, 120, 0, 26, 26, nullptr,
     kNoTabIndex, H::OnFileDropped},
    {K::FileDialog, t::kStoredNameFileDialog, R::FileDialog, 80, 0, 26, 26, nullptr,
     kNoTabIndex, H::None},
    {K::EditBox, t::kStoredNameEdit4, R::ReferrerBox, 19, 93, 365, 27, "", 9, H::None},
    {K::Label, t::kStoredNameLabel4, R::ReferrerLabel, 17, 67, 120, 24,
     t::kCaptionReferrer, kNoTabIndex, H::None},
    {K::PushButton, t::kStoredNameButton2, R::ModifyButton, 137, 385, 80, 32,
     t::kCaptionModify, 2, H::OnModifyClicked},
    {K::PushButton, t::kStoredNameButton1, R::OpenButton, 18, 385, 80, 32,
     t::kCaptionOpen, 1, H::OnOpenClicked},
    {K::Label, t::kStoredNameLabel3, R::NewAddressLabel, 18, 236, 120, 24,
     t::kCaptionNewAddress, kNoTabIndex, H::None},
    {K::EditBox, t::kStoredNameEdit3, R::NewAddressBox, 16, 264, 440, 112, "", 0,
     H::None},
    {K::Label, t::kStoredNameLabel2, R::OriginalAddressLabel, 18, 136, 80, 24,
     t::kCaptionOriginalAddress, kNoTabIndex, H::None},
    {K::EditBox, t::kStoredNameEdit2, R::OriginalAddressBox, 18, 163, 440, 63, "", 8,
     H::None},
    {K::EditBox, t::kStoredNameEdit1, R::TaskNameBox, 16, 28, 440, 36, "", 9, H::None},
    {K::Label, t::kStoredNameLabel1, R::TaskNameLabel, 15, 6, 80, 24, t::kCaptionTaskName,
     kNoTabIndex, H::None},
}};

// Clear of the dialog-style identifiers IDOK, IDCANCEL and friends.
constexpr int kFirstControlId = 100;

}  // namespace

const std::array<ControlRecord, kControlCount>& Controls() { return kControls; }

std::size_t IndexOf(Role role) {
  for (std::size_t i = 0; i < kControls.size(); ++i)
    if (kControls[i].role == role) return i;
  return kControlCount;
}

bool HasWindow(ControlKind kind) {
  return kind == K::PushButton || kind == K::EditBox || kind == K::Label;
}

bool IsTabStop(const ControlRecord& row) {
  return (row.kind == K::PushButton || row.kind == K::EditBox) &&
         row.tab_index != kNoTabIndex;
}

int ControlIdOf(std::size_t index) { return kFirstControlId + static_cast<int>(index); }

std::size_t IndexOfControlId(int id) {
  if (id < kFirstControlId) return kControlCount;
  const auto index = static_cast<std::size_t>(id - kFirstControlId);
  return index < kControlCount ? index : kControlCount;
}

std::vector<Role> FocusCycle() {
  std::vector<std::size_t> rows;
  for (std::size_t i = 0; i < kControls.size(); ++i)
    if (IsTabStop(kControls[i])) rows.push_back(i);
  std::stable_sort(rows.begin(), rows.end(), [](std::size_t a, std::size_t b) {
    if (kControls[a].tab_index != kControls[b].tab_index)
      return kControls[a].tab_index < kControls[b].tab_index;
    return a > b;
  });
  std::vector<Role> cycle;
  cycle.reserve(rows.size());
  for (std::size_t row : rows) cycle.push_back(kControls[row].role);
  return cycle;
}

}  // namespace fenlodar
