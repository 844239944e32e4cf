// Generated from the SDK's interface declarations: every method answers
// E_NOTIMPL until a stand-in object overrides it.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <iads.h>
#include <iiisext.h>

namespace adsi_stand_in {

template <typename I>
class DispatchStubs : public I {
public:
    HRESULT WINAPI GetTypeInfoCount(UINT* count) override { *count = 0; return S_OK; }
    HRESULT WINAPI GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT WINAPI GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT WINAPI Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
};

template <typename I>
class AdsStubs : public DispatchStubs<I> {
public:
    HRESULT WINAPI get_Name(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI get_Class(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI get_GUID(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI get_ADsPath(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI get_Parent(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI get_Schema(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI GetInfo(void) override { return E_NOTIMPL; }
    HRESULT WINAPI SetInfo(void) override { return E_NOTIMPL; }
    HRESULT WINAPI Get(BSTR bstrName,VARIANT *pvProp) override { return E_NOTIMPL; }
    HRESULT WINAPI Put(BSTR bstrName,VARIANT vProp) override { return E_NOTIMPL; }
    HRESULT WINAPI GetEx(BSTR bstrName,VARIANT *pvProp) override { return E_NOTIMPL; }
    HRESULT WINAPI PutEx(__LONG32 lnControlCode,BSTR bstrName,VARIANT vProp) override { return E_NOTIMPL; }
    HRESULT WINAPI GetInfoEx(VARIANT vProperties,__LONG32 lnReserved) override { return E_NOTIMPL; }
};

class UserStubs : public AdsStubs<IADsUser> {
public:
    HRESULT WINAPI get_BadLoginAddress(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI get_BadLoginCount(__LONG32 *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI get_LastLogin(DATE *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI get_LastLogoff(DATE *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI get_LastFailedLogin(DATE *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI get_PasswordLastChanged(DATE *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI get_Description(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_Description(BSTR bstrDescription) override { return E_NOTIMPL; }
    HRESULT WINAPI get_Division(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_Division(BSTR bstrDivision) override { return E_NOTIMPL; }
    HRESULT WINAPI get_Department(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_Department(BSTR bstrDepartment) override { return E_NOTIMPL; }
    HRESULT WINAPI get_EmployeeID(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_EmployeeID(BSTR bstrEmployeeID) override { return E_NOTIMPL; }
    HRESULT WINAPI get_FullName(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_FullName(BSTR bstrFullName) override { return E_NOTIMPL; }
    HRESULT WINAPI get_FirstName(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_FirstName(BSTR bstrFirstName) override { return E_NOTIMPL; }
    HRESULT WINAPI get_LastName(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_LastName(BSTR bstrLastName) override { return E_NOTIMPL; }
    HRESULT WINAPI get_OtherName(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_OtherName(BSTR bstrOtherName) override { return E_NOTIMPL; }
    HRESULT WINAPI get_NamePrefix(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_NamePrefix(BSTR bstrNamePrefix) override { return E_NOTIMPL; }
    HRESULT WINAPI get_NameSuffix(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_NameSuffix(BSTR bstrNameSuffix) override { return E_NOTIMPL; }
    HRESULT WINAPI get_Title(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_Title(BSTR bstrTitle) override { return E_NOTIMPL; }
    HRESULT WINAPI get_Manager(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_Manager(BSTR bstrManager) override { return E_NOTIMPL; }
    HRESULT WINAPI get_TelephoneHome(VARIANT *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_TelephoneHome(VARIANT vTelephoneHome) override { return E_NOTIMPL; }
    HRESULT WINAPI get_TelephoneMobile(VARIANT *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_TelephoneMobile(VARIANT vTelephoneMobile) override { return E_NOTIMPL; }
    HRESULT WINAPI get_TelephoneNumber(VARIANT *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_TelephoneNumber(VARIANT vTelephoneNumber) override { return E_NOTIMPL; }
    HRESULT WINAPI get_TelephonePager(VARIANT *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_TelephonePager(VARIANT vTelephonePager) override { return E_NOTIMPL; }
    HRESULT WINAPI get_FaxNumber(VARIANT *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_FaxNumber(VARIANT vFaxNumber) override { return E_NOTIMPL; }
    HRESULT WINAPI get_OfficeLocations(VARIANT *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_OfficeLocations(VARIANT vOfficeLocations) override { return E_NOTIMPL; }
    HRESULT WINAPI get_PostalAddresses(VARIANT *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_PostalAddresses(VARIANT vPostalAddresses) override { return E_NOTIMPL; }
    HRESULT WINAPI get_PostalCodes(VARIANT *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_PostalCodes(VARIANT vPostalCodes) override { return E_NOTIMPL; }
    HRESULT WINAPI get_SeeAlso(VARIANT *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_SeeAlso(VARIANT vSeeAlso) override { return E_NOTIMPL; }
    HRESULT WINAPI get_AccountDisabled(VARIANT_BOOL *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_AccountDisabled(VARIANT_BOOL fAccountDisabled) override { return E_NOTIMPL; }
    HRESULT WINAPI get_AccountExpirationDate(DATE *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_AccountExpirationDate(DATE daAccountExpirationDate) override { return E_NOTIMPL; }
    HRESULT WINAPI get_GraceLoginsAllowed(__LONG32 *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_GraceLoginsAllowed(__LONG32 lnGraceLoginsAllowed) override { return E_NOTIMPL; }
    HRESULT WINAPI get_GraceLoginsRemaining(__LONG32 *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_GraceLoginsRemaining(__LONG32 lnGraceLoginsRemaining) override { return E_NOTIMPL; }
    HRESULT WINAPI get_IsAccountLocked(VARIANT_BOOL *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_IsAccountLocked(VARIANT_BOOL fIsAccountLocked) override { return E_NOTIMPL; }
    HRESULT WINAPI get_LoginHours(VARIANT *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_LoginHours(VARIANT vLoginHours) override { return E_NOTIMPL; }
    HRESULT WINAPI get_LoginWorkstations(VARIANT *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_LoginWorkstations(VARIANT vLoginWorkstations) override { return E_NOTIMPL; }
    HRESULT WINAPI get_MaxLogins(__LONG32 *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_MaxLogins(__LONG32 lnMaxLogins) override { return E_NOTIMPL; }
    HRESULT WINAPI get_MaxStorage(__LONG32 *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_MaxStorage(__LONG32 lnMaxStorage) override { return E_NOTIMPL; }
    HRESULT WINAPI get_PasswordExpirationDate(DATE *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_PasswordExpirationDate(DATE daPasswordExpirationDate) override { return E_NOTIMPL; }
    HRESULT WINAPI get_PasswordMinimumLength(__LONG32 *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_PasswordMinimumLength(__LONG32 lnPasswordMinimumLength) override { return E_NOTIMPL; }
    HRESULT WINAPI get_PasswordRequired(VARIANT_BOOL *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_PasswordRequired(VARIANT_BOOL fPasswordRequired) override { return E_NOTIMPL; }
    HRESULT WINAPI get_RequireUniquePassword(VARIANT_BOOL *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_RequireUniquePassword(VARIANT_BOOL fRequireUniquePassword) override { return E_NOTIMPL; }
    HRESULT WINAPI get_EmailAddress(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_EmailAddress(BSTR bstrEmailAddress) override { return E_NOTIMPL; }
    HRESULT WINAPI get_HomeDirectory(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_HomeDirectory(BSTR bstrHomeDirectory) override { return E_NOTIMPL; }
    HRESULT WINAPI get_Languages(VARIANT *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_Languages(VARIANT vLanguages) override { return E_NOTIMPL; }
    HRESULT WINAPI get_Profile(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_Profile(BSTR bstrProfile) override { return E_NOTIMPL; }
    HRESULT WINAPI get_LoginScript(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_LoginScript(BSTR bstrLoginScript) override { return E_NOTIMPL; }
    HRESULT WINAPI get_Picture(VARIANT *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_Picture(VARIANT vPicture) override { return E_NOTIMPL; }
    HRESULT WINAPI get_HomePage(BSTR *retval) override { return E_NOTIMPL; }
    HRESULT WINAPI put_HomePage(BSTR bstrHomePage) override { return E_NOTIMPL; }
    HRESULT WINAPI Groups(IADsMembers **ppGroups) override { return E_NOTIMPL; }
    HRESULT WINAPI SetPassword(BSTR NewPassword) override { return E_NOTIMPL; }
    HRESULT WINAPI ChangePassword(BSTR bstrOldPassword,BSTR bstrNewPassword) override { return E_NOTIMPL; }
};

class WebServiceStubs : public AdsStubs<IISWebService> {
public:
    HRESULT WINAPI GetCurrentMode(VARIANT *pvServerMode) override { return E_NOTIMPL; }
    HRESULT WINAPI CreateNewSite(BSTR bstrServerComment,VARIANT *pvServerBindings,BSTR bstrRootVDirPath,VARIANT vServerID,VARIANT *pvActualID) override { return E_NOTIMPL; }
    HRESULT WINAPI EnableApplication(BSTR bstrAppName) override { return E_NOTIMPL; }
    HRESULT WINAPI RemoveApplication(BSTR bstrAppName) override { return E_NOTIMPL; }
    HRESULT WINAPI ListApplications(VARIANT *bstrBuffer) override { return E_NOTIMPL; }
    HRESULT WINAPI AddDependency(BSTR bstrApplication,BSTR bstrGroupID) override { return E_NOTIMPL; }
    HRESULT WINAPI RemoveDependency(BSTR bstrApplication,BSTR bstrGroupID) override { return E_NOTIMPL; }
    HRESULT WINAPI EnableWebServiceExtension(BSTR bstrExtension) override { return E_NOTIMPL; }
    HRESULT WINAPI DisableWebServiceExtension(BSTR bstrExtension) override { return E_NOTIMPL; }
    HRESULT WINAPI ListWebServiceExtensions(VARIANT *bstrBuffer) override { return E_NOTIMPL; }
    HRESULT WINAPI EnableExtensionFile(BSTR bstrExtensionFile) override { return E_NOTIMPL; }
    HRESULT WINAPI DisableExtensionFile(BSTR bstrExtensionFile) override { return E_NOTIMPL; }
    HRESULT WINAPI AddExtensionFile(BSTR bstrExtensionFile,VARIANT bAccess,BSTR bstrGroupID,VARIANT bCanDelete,BSTR bstrDescription) override { return E_NOTIMPL; }
    HRESULT WINAPI DeleteExtensionFileRecord(BSTR bstrExtensionFile) override { return E_NOTIMPL; }
    HRESULT WINAPI ListExtensionFiles(VARIANT *bstrBuffer) override { return E_NOTIMPL; }
    HRESULT WINAPI QueryGroupIDStatus(BSTR bstrGroupID,VARIANT *bstrBuffer) override { return E_NOTIMPL; }
};

}  // namespace adsi_stand_in
