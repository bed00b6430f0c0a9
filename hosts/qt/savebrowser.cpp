// SPDX-License-Identifier: GPL-3.0-or-later
#include "savebrowser.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "renderer.h"
#include "savelist.h"

QString BrowseSaves(QWidget* parent, const GameState& g, const Surface& glyphs, const QString& folder) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("saveBrowser"));
    dialog.setWindowTitle(QStringLiteral("Load Game"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QListWidget(&dialog);
    list->setIconSize(QSize(kSmallWidth, kSmallHeight));
    list->setSpacing(2);
    list->setMinimumSize(kSmallWidth * 3, kSmallHeight * 4);
    const auto saves = ListSavedGames(g, QFile::encodeName(folder).toStdString());
    for (const SavedGame& s : saves) {
        Surface small;
        DrawSmallScreen(glyphs, s.screen, small);
        const QString text = QStringLiteral("%1\n%2\nScore %3")
                                 .arg(QString::fromUtf8(s.title.c_str()), QString::fromUtf8(SavedWhen(s).c_str()))
                                 .arg(s.score);
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(ImageOf(small).copy())), text, list);
        item->setData(Qt::UserRole, folder + QLatin1Char('/') + QFile::decodeName(s.name.c_str()));
    }
    if (saves.empty()) {
        layout->addWidget(new QLabel(QStringLiteral("No saved games in %1 yet.").arg(folder), &dialog));
        list->hide();
    }
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, &dialog);
    QPushButton* other = buttons->addButton(QStringLiteral("Other File..."), QDialogButtonBox::ActionRole);
    layout->addWidget(buttons);

    QString chosen;
    const auto pick = [&](QListWidgetItem* item) {
        if (item == nullptr) return;
        chosen = item->data(Qt::UserRole).toString();
        dialog.accept();
    };
    QObject::connect(list, &QListWidget::itemActivated, &dialog, pick);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, pick);  // whatever the style's single click does
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] { pick(list->currentItem()); });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(other, &QPushButton::clicked, &dialog, [&] {
        chosen = QFileDialog::getOpenFileName(&dialog, QStringLiteral("Load Game"), folder);
        if (!chosen.isEmpty()) dialog.accept();
    });
    buttons->button(QDialogButtonBox::Open)->setEnabled(!saves.empty());
    if (!saves.empty()) {
        list->setCurrentRow(0);
        list->setFocus();
    }
    return dialog.exec() == QDialog::Accepted ? chosen : QString();
}
