#pragma once
// The shape of a window over one attachment list: an optional bold title label `name`, the
// description combo, further edit boxes, the add button `ins_btn`, the grid with its popup
// item `N1` "حذف" and notes under the grid. A window such as Tghir_pic or Tkhadamat_pic
// derives from it, gives its shape and writes its add command; the delete and a click on a
// file do what the shape says. A refusal of a value names the description box by its caption
// and the other columns by their grid titles.
#include "shared/attachment_list.h"
#include "shared/grid.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <span>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

struct AttachmentsWindowShape {
    // A captioned edit box beside the description (the templates' access code `ramz`).
    struct Box {
        QString name;    // objectName
        QString caption; // its label's text
    };
    // What a click on a grid row does.
    enum Click { OpenTemp, SaveAs, SaveAndOpen, Nothing };

    QString caption;            // the window title
    bool nameLabel = false;     // the bold centred label `name`
    QString descriptionCaption; // the label before the description combo
    QString descriptionBox = QStringLiteral("cmt"); // the combo's objectName
    QStringList descriptionItems;
    bool sortedItems = false;
    QList<Box> boxes;
    QString addCaption;         // `ins_btn`'s caption (empty: a picture button)
    const char *grid = "DBGrid1";
    // The grid's columns (a field the table does not name, or names without a title, is hidden).
    std::span<const GridColumn> columns;
    QStringList notes;          // texts under the grid
    Click click = SaveAs;
    DeleteDef confirmDelete;   // the question and/or password before a delete
};

class AttachmentsWindow : public QDialog {
    Q_OBJECT
public:
    AttachmentsWindow(AppContext &ctx, const AttachmentTable &table, const AttachmentsWindowShape &shape,
                      QWidget *parent = nullptr);

    AttachmentList *list() const { return m_list; }
    QComboBox *description() const { return m_description; }
    QString descriptionText() const;
    QLineEdit *box(const QString &name) const;
    QLabel *nameLabel() const { return m_name; }   // null without one
    QPushButton *addButton() const { return m_add; }
    QAction *deleteAction() const { return m_delete; }
    QTableView *grid() const { return m_grid; }

protected:
    // `ins_btn`: the window's own add command.
    virtual void addFile() = 0;
    // `N1`: deletes the current file after the shape's confirmation.
    virtual void deleteFile();
    // A click on a grid row: what the shape's `click` says.
    virtual void fileClicked();

    AppContext &m_ctx;
    const AttachmentsWindowShape m_shape;

private:
    AttachmentList *m_list;
    QComboBox *m_description = nullptr;
    QList<QLineEdit *> m_boxes;
    QLabel *m_name = nullptr;
    QPushButton *m_add = nullptr;
    QAction *m_delete = nullptr;
    QTableView *m_grid = nullptr;
};
