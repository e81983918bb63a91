#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace korvel {

// The modeless please-wait window (`bekleyiniz`) of the long analyses: a caption, a text and
// a progress bar. Each update lets the window repaint. A cancellable window also takes the
// user's clicks while the work runs and keeps the rest of the program out of reach meanwhile.
class PleaseWait : public QDialog {
    Q_OBJECT
public:
    static inline const QString kDefaultCaption = QStringLiteral("Lütfen bekleyiniz");

    explicit PleaseWait(QWidget* parent = nullptr, const QString& caption = kDefaultCaption,
                        bool cancellable = false);

    void setText(const QString& text);
    QString text() const;
    void setRange(int minimum, int maximum);
    void setValue(int value);
    int value() const;
    int maximum() const;

    bool isCancellable() const { return cancelButton_ != nullptr; }
    bool wasCancelled() const { return cancelled_; }
    void cancel();

    // Shows the window and lets it paint before the work starts.
    void start();
    // Runs the waiting events so the window repaints (and, when cancellable, sees its button).
    void processEvents();

signals:
    void cancelled();

protected:
    // Escape and the window's close button cancel cancellable work; the window stays until
    // the work closes it.
    void reject() override;

private:
    QLabel* label_;
    QProgressBar* bar_;
    QPushButton* cancelButton_ = nullptr;
    bool cancelled_ = false;
};

} // namespace korvel
