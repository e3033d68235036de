// A strip chart of a few traces that take interleaved points; it shows the
// last `pointsPerScreen` points of every trace, oldest at the left.
#pragma once
#include <QColor>
#include <QWidget>
#include <vector>

class StripChart : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int traces READ traces WRITE setTraces)
    Q_PROPERTY(int pointsPerScreen READ pointsPerScreen WRITE setPointsPerScreen)
    Q_PROPERTY(double yMin READ yMin WRITE setYMin)
    Q_PROPERTY(double yMax READ yMax WRITE setYMax)
    // Comma-separated colours ("#ff0000,#00a000,#0000ff") and trace names for the legend.
    Q_PROPERTY(QString traceColors READ traceColors WRITE setTraceColors)
    Q_PROPERTY(QString traceNames READ traceNames WRITE setTraceNames)
    // Comma-separated 0/1 per trace: 1 draws the trace dashed (tolerance bands).
    Q_PROPERTY(QString traceDashed READ traceDashed WRITE setTraceDashed)

public:
    explicit StripChart(QWidget* parent = nullptr);
    ~StripChart() override;

    int traces() const;
    void setTraces(int n);  // 1 to 8
    int pointsPerScreen() const;
    void setPointsPerScreen(int n);  // keeps the newest points
    double yMin() const;
    double yMax() const;
    void setYMin(double v);
    void setYMax(double v);
    void setYRange(double min, double max);
    QString traceColors() const;
    void setTraceColors(const QString& s);
    QString traceNames() const;
    void setTraceNames(const QString& s);
    QString traceDashed() const;
    void setTraceDashed(const QString& s);

    // Appends `count` points, interleaved trace 0, 1, ..., one point per
    // trace in turn, continuing where the last call stopped. No allocation.
    void appendPoints(const double* points, int count, int stride = 1);
    // The points a trace shows now, oldest first; returns how many were copied.
    int tracePoints(int trace, double* out, int max) const;
    void clear();
    // The area inside the axes where the traces are drawn, in widget pixels.
    QRect plotRect() const;
    // Traces the last paint did not draw: unchanged since the paint before,
    // and wholly outside the part it repainted.
    int tracesSkipped() const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void UpdateTraces();
    void paintBackground(const QRect& plot);
    struct Impl;
    Impl* d;
};
