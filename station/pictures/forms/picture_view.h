// frmNewProcess: the process pictures of the current tool. It shows picture
// 000 first, writes the live values into the value fields (the overview's
// display rules), follows go-to buttons by the target's name, and offers the
// list of pictures with previews, the main-picture exchange, rename, delete,
// the import and, at user level 3, the editor.
#pragma once

#include "pictures/picture_layout.h"
#include "widgets/view.h"

#include <QSet>
#include <QString>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;

namespace zev {

struct AppContext;
class PictureCanvas;
class PictureDir;

class PictureView final : public View {
    Q_OBJECT
public:
    explicit PictureView(AppContext& ctx, QWidget* parent = nullptr);
    ~PictureView() override;

    void leaving() override;
    bool entering(int previousTab) override;
    void RefreshValues() override;

    // LoadBild: the picture of this number (its elements, bitmap, layout).
    void LoadBild(int number);
    // SaveBild: the layout on screen into the picture's file; false when it failed (told).
    bool SaveBild();
    // NeedSaveChanges: asks to save when the layout on screen differs from its
    // file; false when saving was wanted and failed (stay where you are).
    bool NeedSaveChanges();
    // The editor on or off (on demands level 3).
    void SetConfig(bool on);
    void lblGoto_Click(int index);
    void cmdSetMainView_Click();
    void cmdRenameView_Click();
    void DeleteView();
    void cmdImport_Click();
    // The list of pictures with their previews (CreateViewPreviews), shown or hidden.
    void CreateViewPreviews();
    void showPreviews(bool on);

    int pictureNumber() const { return number_; }
    PictureCanvas* canvas() const { return canvas_; }
    QListWidget* previews() const { return imgView_; }
    QLabel* imgCmd(int k) const { return imgCmd_[k]; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildCommands(QWidget* column);
    void placeTitles();
    void refreshEditor();
    void tell(const QString& message);
    int chosenZone() const;

    AppContext& ctx_;
    std::unique_ptr<PictureDir> dir_;
    int number_ = -1;
    PictureLayout saved_;  // as last read or saved
    QStackedWidget* stack_ = nullptr;
    PictureCanvas* canvas_ = nullptr;
    QListWidget* imgView_ = nullptr;
    std::vector<QLabel*> titles_;
    QPushButton* cmdViews_ = nullptr;
    QPushButton* cmdEditView_ = nullptr;
    QPushButton* cmdSetMainView_ = nullptr;
    QPushButton* cmdRenameView_ = nullptr;
    QPushButton* cmdDeleteView_ = nullptr;
    QPushButton* cmdImport_ = nullptr;
    QWidget* editor_ = nullptr;
    QLabel* imgCmd_[2] = {};
    QComboBox* cboWhat_ = nullptr;
    QListWidget* lstZonename_ = nullptr;
    QListWidget* lstTarget_ = nullptr;
    QCheckBox* chkShowTitle_ = nullptr;
    QPushButton* cmdDeleteElement_ = nullptr;
    QPushButton* cmdSave_ = nullptr;
    QLabel* dragging_ = nullptr;  // the command image being dragged onto the picture
    QSet<QString> toldFiles_;     // damaged layouts the operator has heard of
};

}  // namespace zev
