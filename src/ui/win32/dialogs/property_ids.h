// Resource numbers of the properties dialog (shared by property.rc and the code).
#pragma once

#define IDD_PROPERTY 4000
#define IDC_PROP_TAB 4001
#define IDC_PROP_TYPE0 4002
#define IDC_PROP_TYPE1 4003
#define IDC_PROP_TYPE2 4004
#define IDC_PROP_TITLE 4005
#define IDC_PROP_LINK 4006
#define IDC_PROP_BROWSE 4007
#define IDC_PROP_ARGS 4008
#define IDC_PROP_RUN 4009
#define IDC_PROP_TARGET 4010
#define IDC_PROP_ICON 4011
#define IDC_PROP_ICON0 4012
#define IDC_PROP_ICON1 4013
#define IDC_PROP_ICON2 4014
