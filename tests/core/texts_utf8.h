// The UTF-8 forms of the texts in texts.h, listed apart from them so that a
// wrong byte in either place shows up as a mismatch.
#pragma once
#include "texts.h"

namespace fenlodar::testing {

struct TextCase {
  const char* name;
  const char* gbk;
  const char* utf8;
};

inline constexpr TextCase kAllTexts[] = {
    {"kWindowTitle", texts::kWindowTitle, "Fenlodar     2013.06.21  By Morvetz"},
    {"kNoticeTitle", texts::kNoticeTitle, "提示!"},
    {"kNoticeFileTooLarge", texts::kNoticeFileTooLarge, "文件过大,请确定文件是否正确"},
    {"kNoticeReadFailed", texts::kNoticeReadFailed, "读取失败,请确定文件是否占用"},
    {"kNoticeNotTaskFile", texts::kNoticeNotTaskFile, "文件非法,请确定是否迅雷文件"},
    {"kNoticeNewAddressTooShort", texts::kNoticeNewAddressTooShort, "请输入修改后的地址!"},
    {"kNoticeModifyDone", texts::kNoticeModifyDone, "修改成功!"},
    {"kNoticeNoTaskLoaded", texts::kNoticeNoTaskLoaded, "请载入原先文件!"},
    {"kNoticeOldAddressNotFound", texts::kNoticeOldAddressNotFound, "修改失败,未找到原下载地址"},
    {"kNoticeBackupFailed", texts::kNoticeBackupFailed, "备份失败,未修改文件"},
    {"kNoticeModifyWriteFailed", texts::kNoticeModifyWriteFailed, "修改失败,请确定文件是否占用"},
    {"kNoticeRestoreTaskUnreadable", texts::kNoticeRestoreTaskUnreadable, "恢复失败!真不知你咋弄的!!!重新下载吧!,"},
    {"kNoticeRestoreNoBackup", texts::kNoticeRestoreNoBackup, "恢复失败,找不到备份文件"},
    {"kNoticeRestoreWriteFailed", texts::kNoticeRestoreWriteFailed, "恢复失败,请确定文件是否占用"},
    {"kNoticeRestoreDone", texts::kNoticeRestoreDone, "恢复成功!,"},
    {"kNoticeNothingToReload", texts::kNoticeNothingToReload, "都木有打开文件,你重载个啥!"},
    {"kNoticeReferrerNotWebAddress", texts::kNoticeReferrerNotWebAddress, "引用页不是网址,拒绝打开"},
    {"kNoticeWindowNotCreated", texts::kNoticeWindowNotCreated, "主窗口创建失败,程序无法运行"},
    {"kCaptionReload", texts::kCaptionReload, "重载"},
    {"kCaptionRestore", texts::kCaptionRestore, "恢复"},
    {"kCaptionVisit", texts::kCaptionVisit, "访问"},
    {"kCaptionReferrer", texts::kCaptionReferrer, "原下载引用页"},
    {"kCaptionModify", texts::kCaptionModify, "修改"},
    {"kCaptionOpen", texts::kCaptionOpen, "打开"},
    {"kCaptionNewAddress", texts::kCaptionNewAddress, "修改下载地址为"},
    {"kCaptionOriginalAddress", texts::kCaptionOriginalAddress, "原下载地址"},
    {"kCaptionTaskName", texts::kCaptionTaskName, "任务文件名"},
    {"kStoredNameButton1", texts::kStoredNameButton1, "按钮1"},
    {"kStoredNameButton2", texts::kStoredNameButton2, "按钮2"},
    {"kStoredNameButton3", texts::kStoredNameButton3, "按钮3"},
    {"kStoredNameButton4", texts::kStoredNameButton4, "按钮4"},
    {"kStoredNameButton5", texts::kStoredNameButton5, "按钮5"},
    {"kStoredNameEdit1", texts::kStoredNameEdit1, "编辑框1"},
    {"kStoredNameEdit2", texts::kStoredNameEdit2, "编辑框2"},
    {"kStoredNameEdit3", texts::kStoredNameEdit3, "编辑框3"},
    {"kStoredNameEdit4", texts::kStoredNameEdit4, "编辑框4"},
    {"kStoredNameLabel1", texts::kStoredNameLabel1, "标签1"},
    {"kStoredNameLabel2", texts::kStoredNameLabel2, "标签2"},
    {"kStoredNameLabel3", texts::kStoredNameLabel3, "标签3"},
    {"kStoredNameLabel4", texts::kStoredNameLabel4, "标签4"},
    {"kStoredNameDropTarget", texts::kStoredNameDropTarget, "拖放对象1"},
    {"kStoredNameFileDialog", texts::kStoredNameFileDialog, "通用对话框1"},
    {"kFileDialogFilter", texts::kFileDialogFilter, "迅雷离线文件(*.cfg)|*.cfg|所有文件|*.*"},
};

}  // namespace fenlodar::testing
