#pragma once

#include "ui/instruments/LinkWorker.h"

#include <QDialog>

class QPushButton;

namespace korvel {

// The memory erase screen (`Form2`, " Cihazın hafızasını siler") of both loggers: "Devam" erases
// the logger's memory, "İptal" closes. Opened modally by the logger screens, which empty their
// texts and mark their erase buttons when memoryErased() comes.
class EraseForm : public QDialog {
    Q_OBJECT
public:
    EraseForm(LinkWorker::LinkFactory link, LinkWorker::ClockFactory clock, QWidget* parent = nullptr);

    void Command1_Click(); // "Devam"
    void Command2_Click(); // "İptal"
    bool busy() const { return worker_.busy(); }
    LinkWorker& worker() { return worker_; }

    // Closing the screen ends an erase under way without a message.
    void reject() override;

signals:
    void memoryErased();

private:
    LinkWorker worker_;
    QPushButton* continue_;
    QPushButton* cancel_;
    bool closing_ = false;
};

} // namespace korvel
