#pragma once

#include <QString>

// SQL texts of the regional managers' window and the names of their fields and parameters.
struct ManagerQueries
{
    // The managers (the window's main list).
    struct Managers
    {
        static constexpr char kId[] = "MANAGER_ID";
        static constexpr char kName[] = "MANAGER_NAME";
        static constexpr char kNameShown[] = "MANAGER_NAME_ANSI";
        static constexpr char kDefaultOrder[] = "manager_name";
        static QString sql();
    };
    // The emitents given to the current manager.
    struct Emitents
    {
        static constexpr char kManagerParam[] = "MANAGER_ID";
        static constexpr char kId[] = "EMITENT_ID_WEB";
        static constexpr char kNumber[] = "EMITENT_NUMBER";
        static constexpr char kFilial[] = "FILIAL_NUMBER";
        static constexpr char kName[] = "EMITENT_NAME";
        static constexpr char kNameShown[] = "EMITENT_NAME_ANSI";
        static constexpr char kDefaultOrder[] = "EMITENT_NUMBER, FILIAL_NUMBER";
        static QString sql();
    };
    // The free-emitent list of the data module (GET_FREE_EMITENT) and the call that gives one.
    struct FreeEmitents
    {
        static constexpr char kManagerParam[] = "P_MANAGER_ID";
        static constexpr char kChoice[] = "ISVISIBLE";
        static constexpr char kId[] = "EMITENT_ID_WEB";
        static constexpr char kNumber[] = "EMITENT_NUMBER";
        static constexpr char kFilial[] = "FILIAL_NUMBER";
        static constexpr char kNameShown[] = "EMITENT_NAME_ANSI";
        static constexpr char kEmitentParam[] = "P_EMITENT_ID";
    };
    // Routines of TEV_UTILS.
    static constexpr char kCreateManager[] = "CREATE_MANAGER";
    static constexpr char kUpdatePassword[] = "UPDATE_PASS_MANAGER";
    static constexpr char kDeleteManager[] = "delete_manager";
    static constexpr char kDeleteEmitent[] = "DEL_EMITENT_FOR_MANAGER";
    static constexpr char kNewIdParam[] = "P_NEW_MANAGER_ID";
};
