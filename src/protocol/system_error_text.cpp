#include "protocol/system_error_text.h"

#include <cerrno>

namespace somatrix {

std::string SystemErrorText(int error) {
    switch (error) {
        case ENOENT:
            return "没有那个文件或目录";
        case EACCES:
        case EPERM:
            return "权限不够";
        case EISDIR:
            return "是一个目录";
        case ENOTDIR:
            return "路径中有一项不是目录";
        case EROFS:
            return "只读文件系统";
        case ENOSPC:
            return "磁盘空间不足";
#ifdef EDQUOT
        case EDQUOT:
            return "超出磁盘配额";
#endif
        case EEXIST:
            return "文件已存在";
        case EBUSY:
            return "设备或资源忙";
        case EMFILE:
        case ENFILE:
            return "打开的文件过多";
        case ENAMETOOLONG:
            return "文件名过长";
        case ENOMEM:
            return "内存不足";
        case EFBIG:
            return "文件过大";
        case EIO:
            return "输入/输出错误";
        case EINVAL:
            return "参数无效";
        case ENXIO:
        case ENODEV:
            return "没有那个设备";
#ifdef ELOOP
        case ELOOP:
            return "符号链接层数过多";
#endif
        case EAGAIN:
            return "资源暂时不可用";
        case EINTR:
            return "操作被中断";
        default:
            return "系统错误 " + std::to_string(error);
    }
}

}  // namespace somatrix
