// An XY graph that keeps every plot added to it. Plots are stored
// compactly and drawn in batches, so tens of thousands of short plots stay
// fast to add (O(1)) and to repaint.
#pragma once
#include <QWidget>
#include <cstdint>

class XYGraph : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double xMin READ xMin WRITE setXMin)
    Q_PROPERTY(double xMax READ xMax WRITE setXMax)
    Q_PROPERTY(double yMin READ yMin WRITE setYMin)
    Q_PROPERTY(double yMax READ yMax WRITE setYMax)
    // true: the X axis follows the plotted data; false: fixed xMin..xMax.
    Q_PROPERTY(bool xAutoScale READ xAutoScale WRITE setXAutoScale)
    Q_PROPERTY(bool yAutoScale READ yAutoScale WRITE setYAutoScale)
    Q_PROPERTY(QString xLabel READ xLabel WRITE setXLabel)
    Q_PROPERTY(QString yLabel READ yLabel WRITE setYLabel)
    // true: X ticks only at whole numbers (an X axis that counts frames).
    Q_PROPERTY(bool xWholeTicks READ xWholeTicks WRITE setXWholeTicks)

public:
    explicit XYGraph(QWidget* parent = nullptr);
    ~XYGraph() override;

    double xMin() const;
    double xMax() const;
    double yMin() const;
    double yMax() const;
    void setXMin(double v);
    void setXMax(double v);
    void setYMin(double v);
    void setYMax(double v);
    void setYRange(double min, double max);  // fixed Y range
    bool xAutoScale() const;
    void setXAutoScale(bool on);
    bool yAutoScale() const;
    void setYAutoScale(bool on);
    QString xLabel() const;
    void setXLabel(const QString& s);
    QString yLabel() const;
    void setYLabel(const QString& s);

    // Adds one plot of `count` points as a connected line in `rgb`
    // (0xRRGGBB). Returns the plot handle (1, 2, ...), or -1 when there is
    // no point to plot. No repaint of the whole history: when the axes stay
    // as they are, only what the new plot covers is updated.
    int addPlot(const double* x, const double* y, int count, uint32_t rgb);
    void clearPlots();
    // Exchanges the plots shown with the set kept aside (empty at first), so
    // that the graph can show something else for a while and then get its
    // own plots back whole, in their order. Costs nothing per plot.
    void swapPlots();
    int plotCount() const;
    // Points of plot `index` (0 = oldest); returns how many were copied.
    int plotPoints(int index, double* x, double* y, int max, uint32_t* rgb) const;
    // Bytes held for plots (for the memory benchmark).
    size_t plotMemory() const;

    // Smallest and largest coordinates of all plots; false when there are none.
    bool dataBounds(double* xmin, double* xmax, double* ymin, double* ymax) const;
    // The axis ranges shown now, after autoscaling.
    void shownXRange(double* min, double* max) const;
    void shownYRange(double* min, double* max) const;
    // The area inside the axes where plots are drawn, in widget pixels.
    QRect plotRect() const;

    // With the X axis autoscaled: true shows exactly the X range of the
    // data (a run of N frames spans 0 to N-1), false also keeps xMin..xMax.
    void setXFollowsData(bool on);
    bool xFollowsData() const;

    // The operator's view: the mouse wheel zooms X around the mouse (with
    // Ctrl: Y), dragging with the left button pans, a double click returns
    // to the whole data. Zooming by `factor` < 1 narrows the range.
    void zoomX(double factor, double aboutX);
    void zoomY(double factor, double aboutY);
    // Moves the view by a distance in data units.
    void pan(double dx, double dy);
    void resetView();
    bool viewZoomed() const;
    // Fits the Y axis to the data inside the X range shown now (the view's
    // Y part; X stays). False when no point lies in that range.
    bool fitYToShown();
    bool xWholeTicks() const;
    void setXWholeTicks(bool on);
    // Data coordinates of a widget point (inside or outside the plot area).
    QPointF toData(const QPointF& widgetPos) const;

    // Drawn over the plots, not plots themselves (the plot list stays the
    // data's): a tolerance band (two dashed lines over a light fill), the X
    // span the operator marked, and vertical marks at X values.
    void setBand(bool on, double lo, double hi);
    void setMarkedRange(bool on, double x0, double x1);
    struct XMark {
        double x;
        uint32_t rgb;
        bool dashed;
    };
    void setXMarks(const XMark* marks, int count);
    bool markedRange(double* x0, double* x1) const;

signals:
    // The mouse moved over the plot area, at data coordinates x, y.
    void cursorMoved(double x, double y);
    // Shift+drag marked the X span x0..x1 (x0 <= x1); a double click, which
    // returns to the whole data, clears it (rangeCleared).
    void rangeMarked(double x0, double x1);
    void rangeCleared();
    // The operator zoomed, panned or returned to the whole data.
    void viewChanged();

protected:
    void paintEvent(QPaintEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    struct Impl;
    Impl* d;
};
