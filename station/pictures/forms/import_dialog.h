// frmProcess_ImportBild: the drives (ShowDrives), the folders and bitmaps of
// the chosen directory (Refresh_RootList, "*.BMP" in any case), a preview, and
// the import of the chosen bitmaps one after another.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;

namespace zev {

struct AppContext;
class PictureDir;

class ImportDialog final : public QDialog {
    Q_OBJECT
public:
    ImportDialog(AppContext& ctx, PictureDir& dir, QWidget* parent = nullptr);

    void ShowDrives();
    // Lists the folders and bitmaps of `path`.
    void Refresh_RootList(const QString& path);
    // Imports every chosen bitmap; failures are told and the rest go on.
    void cmdImport_Click();
    const QString& directory() const { return directory_; }
    QListWidget* rootList() const { return lstRoot_; }
    // The number of the last picture imported, -1 when none.
    int imported() const { return imported_; }

private:
    void showPreview();

    AppContext& ctx_;
    PictureDir& dir_;
    QString directory_;
    int imported_ = -1;
    QComboBox* cboDrive_ = nullptr;
    QLabel* lblDirectory_ = nullptr;
    QListWidget* lstRoot_ = nullptr;
    QCheckBox* chkPreview_ = nullptr;
    QLabel* imgPreview_ = nullptr;
};

}  // namespace zev
