// Every text the tool shows, as GBK (code page 936) bytes.
// The UTF-8 form beside each is for the reader; a test converts every
// constant back from code page 936 and compares it with that form.
#pragma once

namespace fenlodar::texts {

// Fenlodar     2013.06.21  By Morvetz
inline constexpr char kWindowTitle[] = "Fenlodar     2013.06.21  By Morvetz";
// 提示!
inline constexpr char kNoticeTitle[] = "\xcc\xe1\xca\xbe!";
// 文件过大,请确定文件是否正确
inline constexpr char kNoticeFileTooLarge[] = "\xce\xc4\xbc\xfe\xb9\xfd\xb4\xf3,\xc7\xeb\xc8\xb7\xb6\xa8\xce\xc4\xbc\xfe\xca\xc7\xb7\xf1\xd5\xfd\xc8\xb7";
// 读取失败,请确定文件是否占用
inline constexpr char kNoticeReadFailed[] = "\xb6\xc1\xc8\xa1\xca\xa7\xb0\xdc,\xc7\xeb\xc8\xb7\xb6\xa8\xce\xc4\xbc\xfe\xca\xc7\xb7\xf1\xd5\xbc\xd3\xc3";
// 文件非法,请确定是否迅雷文件
inline constexpr char kNoticeNotTaskFile[] = "\xce\xc4\xbc\xfe\xb7\xc7\xb7\xa8,\xc7\xeb\xc8\xb7\xb6\xa8\xca\xc7\xb7\xf1\xd1\xb8\xc0\xd7\xce\xc4\xbc\xfe";
// 请输入修改后的地址!
inline constexpr char kNoticeNewAddressTooShort[] = "\xc7\xeb\xca\xe4\xc8\xeb\xd0\xde\xb8\xc4\xba\xf3\xb5\xc4\xb5\xd8\xd6\xb7!";
// 修改成功!
inline constexpr char kNoticeModifyDone[] = "\xd0\xde\xb8\xc4\xb3\xc9\xb9\xa6!";
// 请载入原先文件!
inline constexpr char kNoticeNoTaskLoaded[] = "\xc7\xeb\xd4\xd8\xc8\xeb\xd4\xad\xcf\xc8\xce\xc4\xbc\xfe!";
// 修改失败,未找到原下载地址
inline constexpr char kNoticeOldAddressNotFound[] = "\xd0\xde\xb8\xc4\xca\xa7\xb0\xdc,\xce\xb4\xd5\xd2\xb5\xbd\xd4\xad\xcf\xc2\xd4\xd8\xb5\xd8\xd6\xb7";
// 备份失败,未修改文件
inline constexpr char kNoticeBackupFailed[] = "\xb1\xb8\xb7\xdd\xca\xa7\xb0\xdc,\xce\xb4\xd0\xde\xb8\xc4\xce\xc4\xbc\xfe";
// 修改失败,请确定文件是否占用
inline constexpr char kNoticeModifyWriteFailed[] = "\xd0\xde\xb8\xc4\xca\xa7\xb0\xdc,\xc7\xeb\xc8\xb7\xb6\xa8\xce\xc4\xbc\xfe\xca\xc7\xb7\xf1\xd5\xbc\xd3\xc3";
// 恢复失败!真不知你咋弄的!!!重新下载吧!,
inline constexpr char kNoticeRestoreTaskUnreadable[] = "\xbb\xd6\xb8\xb4\xca\xa7\xb0\xdc!\xd5\xe6\xb2\xbb\xd6\xaa\xc4\xe3\xd5\xa6\xc5\xaa\xb5\xc4!!!\xd6\xd8\xd0\xc2\xcf\xc2\xd4\xd8\xb0\xc9!,";
// 恢复失败,找不到备份文件
inline constexpr char kNoticeRestoreNoBackup[] = "\xbb\xd6\xb8\xb4\xca\xa7\xb0\xdc,\xd5\xd2\xb2\xbb\xb5\xbd\xb1\xb8\xb7\xdd\xce\xc4\xbc\xfe";
// 恢复失败,请确定文件是否占用
inline constexpr char kNoticeRestoreWriteFailed[] = "\xbb\xd6\xb8\xb4\xca\xa7\xb0\xdc,\xc7\xeb\xc8\xb7\xb6\xa8\xce\xc4\xbc\xfe\xca\xc7\xb7\xf1\xd5\xbc\xd3\xc3";
// 恢复成功!,
inline constexpr char kNoticeRestoreDone[] = "\xbb\xd6\xb8\xb4\xb3\xc9\xb9\xa6!,";
// 都木有打开文件,你重载个啥!
inline constexpr char kNoticeNothingToReload[] = "\xb6\xbc\xc4\xbe\xd3\xd0\xb4\xf2\xbf\xaa\xce\xc4\xbc\xfe,\xc4\xe3\xd6\xd8\xd4\xd8\xb8\xf6\xc9\xb6!";
// 引用页不是网址,拒绝打开
inline constexpr char kNoticeReferrerNotWebAddress[] = "\xd2\xfd\xd3\xc3\xd2\xb3\xb2\xbb\xca\xc7\xcd\xf8\xd6\xb7,\xbe\xdc\xbe\xf8\xb4\xf2\xbf\xaa";
// 重载
inline constexpr char kCaptionReload[] = "\xd6\xd8\xd4\xd8";
// 恢复
inline constexpr char kCaptionRestore[] = "\xbb\xd6\xb8\xb4";
// 访问
inline constexpr char kCaptionVisit[] = "\xb7\xc3\xce\xca";
// 原下载引用页
inline constexpr char kCaptionReferrer[] = "\xd4\xad\xcf\xc2\xd4\xd8\xd2\xfd\xd3\xc3\xd2\xb3";
// 修改
inline constexpr char kCaptionModify[] = "\xd0\xde\xb8\xc4";
// 打开
inline constexpr char kCaptionOpen[] = "\xb4\xf2\xbf\xaa";
// 修改下载地址为
inline constexpr char kCaptionNewAddress[] = "\xd0\xde\xb8\xc4\xcf\xc2\xd4\xd8\xb5\xd8\xd6\xb7\xce\xaa";
// 原下载地址
inline constexpr char kCaptionOriginalAddress[] = "\xd4\xad\xcf\xc2\xd4\xd8\xb5\xd8\xd6\xb7";
// 任务文件名
inline constexpr char kCaptionTaskName[] = "\xc8\xce\xce\xf1\xce\xc4\xbc\xfe\xc3\xfb";
// 按钮1
inline constexpr char kStoredNameButton1[] = "\xb0\xb4\xc5\xa5" "1";
// 按钮2
inline constexpr char kStoredNameButton2[] = "\xb0\xb4\xc5\xa5" "2";
// 按钮3
inline constexpr char kStoredNameButton3[] = "\xb0\xb4\xc5\xa5" "3";
// 按钮4
inline constexpr char kStoredNameButton4[] = "\xb0\xb4\xc5\xa5" "4";
// 按钮5
inline constexpr char kStoredNameButton5[] = "\xb0\xb4\xc5\xa5" "5";
// 编辑框1
inline constexpr char kStoredNameEdit1[] = "\xb1\xe0\xbc\xad\xbf\xf2" "1";
// 编辑框2
inline constexpr char kStoredNameEdit2[] = "\xb1\xe0\xbc\xad\xbf\xf2" "2";
// 编辑框3
inline constexpr char kStoredNameEdit3[] = "\xb1\xe0\xbc\xad\xbf\xf2" "3";
// 编辑框4
inline constexpr char kStoredNameEdit4[] = "\xb1\xe0\xbc\xad\xbf\xf2" "4";
// 标签1
inline constexpr char kStoredNameLabel1[] = "\xb1\xea\xc7\xa9" "1";
// 标签2
inline constexpr char kStoredNameLabel2[] = "\xb1\xea\xc7\xa9" "2";
// 标签3
inline constexpr char kStoredNameLabel3[] = "\xb1\xea\xc7\xa9" "3";
// 标签4
inline constexpr char kStoredNameLabel4[] = "\xb1\xea\xc7\xa9" "4";
// 拖放对象1
inline constexpr char kStoredNameDropTarget[] = "\xcd\xcf\xb7\xc5\xb6\xd4\xcf\xf3" "1";
// 通用对话框1
inline constexpr char kStoredNameFileDialog[] = "\xcd\xa8\xd3\xc3\xb6\xd4\xbb\xb0\xbf\xf2" "1";
// 迅雷离线文件(*.cfg)|*.cfg|所有文件|*.*
inline constexpr char kFileDialogFilter[] = "\xd1\xb8\xc0\xd7\xc0\xeb\xcf\xdf\xce\xc4\xbc\xfe(*.cfg)|*.cfg|\xcb\xf9\xd3\xd0\xce\xc4\xbc\xfe|*.*";

}  // namespace fenlodar::texts
