#include "desktop/desktop_controls.h"

#include "desktop/button_scroll_bar.h"
#include "desktop/captioned_image.h"
#include "desktop/check_group_box.h"
#include "desktop/class_registration.h"
#include "desktop/date_panel.h"
#include "desktop/extra_colour_names.h"
#include "desktop/flat_edit.h"
#include "desktop/image_combo_box.h"
#include "desktop/image_list_box.h"
#include "desktop/color_picker.h"
#include "desktop/file_association.h"
#include "desktop/file_operation.h"
#include "desktop/file_storage.h"
#include "desktop/start_button.h"
#include "desktop/tray_icon.h"
#include "desktop/wave_player.h"
#include "vcl/streaming.h"

void RegisterDesktopControls() {
  RegisterExtraColourNames();
  RegisterDesktopClasses({TdkCustomComboBox::StaticClass(), TdkComboBox::StaticClass(),
                   TdkCustomImageListBox::StaticClass(), TdkImageListBox::StaticClass(),
                   TdkCustomImage::StaticClass(), TdkImage::StaticClass(), TdkCustomGroupBox::StaticClass(),
                   TdkGroupBox::StaticClass(), TdkCustomEdit::StaticClass(), TdkEdit::StaticClass(),
                   TdkCustomScrollBar::StaticClass(), TdkScrollBar::StaticClass(),
                   TdkCustomDatePanel::StaticClass(), TdkDatePanel::StaticClass(), TPanel::StaticClass(),
                   TUpDown::StaticClass()});
  RegisterDesktopClasses({TdkFileOperation::StaticClass(), TdkFileStorage::StaticClass(), TdkWav::StaticClass(),
                          TdkFileAssociation::StaticClass(), TdkStartButtonProperties::StaticClass(),
                          TdkTrayIcon::StaticClass(), TdkColorPicker::StaticClass()});
}
