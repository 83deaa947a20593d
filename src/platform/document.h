// Document and view basics: path, title, modified flag and the views shown.
#pragma once

#include "platform/object.h"

#include <string>
#include <vector>

class CDocument;

class CView : public CObject {
public:
    ~CView() override;
    CDocument* GetDocument() const { return m_pDocument; }
    // hint 0: redraw everything.
    virtual void OnUpdate(CView* sender, long hint, CObject* obj);
    // An entity was added to the drawing: every view that shows it draws it.
    virtual void DrawAddedEntity(int type, CObject* entity);
    // An entity of the drawing is to be shown, or to be taken off the view;
    // views that show no entities pass over both.
    virtual void DrawEntity(int type, CObject* entity);
    virtual void EraseEntity(int type, CObject* entity);
    // A plan view's origin (the drawing point at its lower-left corner) and
    // zoom state; false, with nothing given, for views that are no plan view.
    virtual bool GetOriginAndZoom(double& ox, double& oy, int& zoomState) const;

protected:
    CView() = default;

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
};

class CDocument : public CObject {
public:
    ~CDocument() override;

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }

    const std::string& GetPathName() const { return m_pathName; }
    // Sets the path and takes the file name as the title.
    void SetPathName(const std::string& path);
    const std::string& GetTitle() const { return m_title; }
    void SetTitle(const std::string& title) { m_title = title; }

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }
    void UpdateAllViews(CView* sender, long hint = 0, CObject* obj = nullptr);

private:
    bool m_modified = false;
    std::string m_pathName;
    std::string m_title;
    std::vector<CView*> m_views;
};
