#pragma once
// The OpenGL surface of the 3D pattern view: fixed-function OpenGL 1.1 with
// display lists. It renders the state of its form; the form's panel lies
// over its lower edge.
#include <QOpenGLWidget>

class TOpenGL_Form;

class GLSceneWidget : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit GLSceneWidget(TOpenGL_Form* form);
    ~GLSceneWidget() override;

    // Display list numbers of the axes and the antenna.
    static constexpr unsigned AxisYList = 10000, AxisXList = 10001, AxisZList = 10002, AntennaList = 10003;

    int RenderCount() const { return renders_; }

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void SetProjection();
    void ApplyViewTransform();
    void CompilePendingLists();
    void Render();

    TOpenGL_Form* form_;
    int compiledFarLists_ = 0;
    bool rendering_ = false;
    int renders_ = 0;
};
