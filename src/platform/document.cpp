#include "platform/document.h"

#include <algorithm>

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

void CView::OnUpdate(CView*, long, CObject*) {}

void CView::DrawAddedEntity(int, CObject*) {}

void CView::DrawEntity(int, CObject*) {}

void CView::EraseEntity(int, CObject*) {}

bool CView::GetOriginAndZoom(double&, double&, int&) const { return false; }

CDocument::~CDocument()
{
    for (CView* view : m_views)
        view->m_pDocument = nullptr;
}

void CDocument::SetPathName(const std::string& path)
{
    m_pathName = path;
    const auto slash = path.find_last_of('/');
    m_title = slash == std::string::npos ? path : path.substr(slash + 1);
}

void CDocument::AddView(CView* view)
{
    if (view->m_pDocument)
        view->m_pDocument->RemoveView(view);
    m_views.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view)
{
    std::erase(m_views, view);
    view->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* sender, long hint, CObject* obj)
{
    for (CView* view : m_views)
        if (view != sender)
            view->OnUpdate(sender, hint, obj);
}
